#include "dialogs/CAboutDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <initializer_list>

#include "core/VersionText.h"
#include "controls/CHyperLink.h"
#include "core/AboutTexts.h"
#include "localisation/DialogUnits.h"
#include "localisation/LocalizedTexts.h"

namespace {

constexpr int kDialogWidth = 231;
constexpr int kDialogHeight = 113;

QLabel* Picture(const QString& resource, QWidget* parent) {
  auto* picture = new QLabel(parent);
  picture->setPixmap(QPixmap(resource));
  return picture;
}

QLabel* StaticText(const QString& text, Qt::Alignment horizontal, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(horizontal | Qt::AlignVCenter);
  return label;
}

}  // namespace

CAboutDialog::CAboutDialog(const LocalizedTexts& texts, QWidget* parent) : CLocalizedDialog(texts, parent) {
  CreateControls();
  DoDataExchange();
}

CAboutDialog::~CAboutDialog() = default;

// The box as designed, in dialog units; the pictures at their own sizes.
void CAboutDialog::CreateControls() {
  setWindowTitle("О программе");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  // Made first, so it lies beneath the link rows it frames.
  m_frame = new QGroupBox(this);

  m_btnOK = new QPushButton("OK", this);
  m_btnOK->setDefault(true);
  m_btnOK->setAutoDefault(true);
  connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);
  RegisterControl(IDOK, m_btnOK);

  struct TextPlace {
    std::uint32_t id;
    const char* text;
    Qt::Alignment alignment;
    QRect place;
  };
  // The template's texts: what the box says with the built-in language and no version.
  const AboutTexts builtIn = ComposeAboutTexts([](std::uint32_t, std::string&) { return false; }, "");
  const TextPlace texts[] = {
      {IDC_PROGRAM, builtIn.program.c_str(), Qt::AlignLeft, DialogUnits(40, 10, 120, 8)},
      {IDC_VERSION, "Версия:", Qt::AlignLeft, DialogUnits(40, 20, 120, 8)},
      {IDC_DEVELOPER, builtIn.developer.c_str(), Qt::AlignLeft, DialogUnits(40, 36, 120, 8)},
      {IDC_INSTITUTION, builtIn.institution.c_str(), Qt::AlignLeft, DialogUnits(40, 47, 120, 8)},
      {IDC_RIGHTS, builtIn.rights.c_str(), Qt::AlignLeft, DialogUnits(40, 58, 120, 8)},
      {IDC_HOME_PAGE_LABEL, "Домашняя страница:", Qt::AlignHCenter, DialogUnits(42, 78, 73, 8)},
      {IDC_EMAIL_LABEL, "E-mail:", Qt::AlignHCenter, DialogUnits(42, 91, 73, 8)},
  };
  for (const TextPlace& each : texts) {
    QLabel* label = StaticText(QString::fromUtf8(each.text), each.alignment, this);
    label->setGeometry(each.place);
    RegisterControl(each.id, label);
  }
  for (const std::uint32_t id : {IDC_PROGRAM, IDC_VERSION, IDC_DEVELOPER, IDC_INSTITUTION, IDC_RIGHTS})
    m_lines.push_back(qobject_cast<QLabel*>(Control(id)));
  m_labelHomePage = qobject_cast<QLabel*>(Control(IDC_HOME_PAGE_LABEL));
  m_labelEmail = qobject_cast<QLabel*>(Control(IDC_EMAIL_LABEL));

  Picture(":/icons/quorvane-32.png", this)->move(DialogUnits(11, 10, 0, 0).topLeft());
  m_pictureBrowser = Picture(":/icons/browser.png", this);
  m_pictureBrowser->move(DialogUnits(25, 73, 0, 0).topLeft());
  m_pictureEnvelope = Picture(":/icons/envelope.png", this);
  m_pictureEnvelope->move(DialogUnits(31, 92, 0, 0).topLeft());
  for (QLabel* picture : findChildren<QLabel*>())
    if (!picture->pixmap().isNull()) picture->resize(picture->pixmap().deviceIndependentSize().toSize());

  m_linkHomePage = new CHyperLink(Texts(), this);
  m_linkHomePage->setText(AboutFacts::kHomePageShown);
  m_linkHomePage->setAlignment(Qt::AlignCenter);
  RegisterControl(IDC_HOME_PAGE_LINK, m_linkHomePage);

  m_linkEmail = new CHyperLink(Texts(), this);
  m_linkEmail->setText(AboutFacts::kSupportAddress);
  m_linkEmail->setAlignment(Qt::AlignCenter);
  RegisterControl(IDC_EMAIL_LINK, m_linkEmail);

  LayOutControls();
}

// The places as designed. A text longer than its place widens it: a line of the upper block
// moves the OK button along, a row's label or link widens its column and moves what lies to
// the right of it; the box widens by as much. A row's centred label keeps clear of its picture
// by the room the design leaves between a label and its link, whatever the picture's size in
// this font; the row moves right when it would come closer. When the texts fit, nothing moves.
void CAboutDialog::LayOutControls() {
  auto widest = [](const std::vector<QLabel*>& labels) {
    int width = 0;
    for (const QLabel* label : labels) width = std::max(width, WidthForText(label));
    return width;
  };
  const QRect line = DialogUnits(40, 10, 120, 8);
  const int growLines = std::max(0, widest(m_lines) - line.width());
  for (QLabel* each : m_lines) each->resize(line.width() + growLines, line.height());

  const QRect homeLabel = DialogUnits(42, 78, 73, 8);
  const QRect homeLink = DialogUnits(119, 78, 75, 8);
  const int labelWidth = std::max(homeLabel.width(), widest({m_labelHomePage, m_labelEmail}));
  const int growLinks = std::max(0, widest({m_linkHomePage, m_linkEmail}) - homeLink.width());
  const int gap = homeLink.left() - homeLabel.right() - 1;
  int clear = 0;
  for (const auto& [label, picture] :
       {std::pair{m_labelHomePage, m_pictureBrowser}, std::pair{m_labelEmail, m_pictureEnvelope}}) {
    const int textLeft = homeLabel.left() + (labelWidth - WidthForText(label)) / 2;
    clear = std::max(clear, picture->geometry().right() + 1 + gap - textLeft);
  }
  const int growRows = clear + labelWidth - homeLabel.width() + growLinks;
  const int grow = std::max(growLines, growRows);

  auto rowLabel = [&](int y) { return DialogUnits(42, y, 0, 8).translated(clear, 0).adjusted(0, 0, labelWidth, 0); };
  auto rowLink = [&](int y) {
    return DialogUnits(119, y, 75, 8).translated(clear + labelWidth - homeLabel.width(), 0).adjusted(0, 0, growLinks, 0);
  };
  const int okWidth = std::max(DialogUnits(0, 0, 50, 0).width(), WidthForText(m_btnOK));
  const int growOk = okWidth - DialogUnits(0, 0, 50, 0).width();
  m_frame->setGeometry(DialogUnits(7, 68, 217, 38).adjusted(0, 0, grow + growOk, 0));
  m_labelHomePage->setGeometry(rowLabel(78));
  m_labelEmail->setGeometry(rowLabel(91));
  m_linkHomePage->setGeometry(rowLink(78));
  m_linkEmail->setGeometry(rowLink(91));
  m_btnOK->setGeometry(DialogUnits(174, 7, 50, 14).translated(grow, 0).adjusted(0, 0, growOk, 0));
  setFixedSize(DialogUnits(0, 0, kDialogWidth, kDialogHeight).size() + QSize(grow + growOk, 0));
}

// Attaches the links to their texts, e-mail first.
void CAboutDialog::DoDataExchange() {
  m_linkEmail->PreSubclassWindow();
  m_linkHomePage->PreSubclassWindow();
}

void CAboutDialog::OnInitDialog() {
  m_linkHomePage->SetTarget(AboutFacts::kHomePageAddress);
  m_linkEmail->SetTarget(QString("mailto:") + AboutFacts::kSupportAddress);
  ApplyAboutTexts();
  LayOutControls();
}

// Every opening, not only the first: a language loaded in between shows now.
void CAboutDialog::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) OnInitDialog();
  CLocalizedDialog::showEvent(event);
}

void CAboutDialog::ApplyAboutTexts() {
  const AboutTexts texts = ComposeAboutTexts(
      [this](std::uint32_t id, std::string& text) { return Texts().GetString(id, text); }, GetVersionText());
  auto set = [this](std::uint32_t id, const std::string& text) {
    if (auto* label = qobject_cast<QLabel*>(Control(id))) label->setText(WidgetText(text));
  };
  setWindowTitle(WidgetText(texts.caption));
  set(IDC_PROGRAM, texts.program);
  set(IDC_VERSION, texts.version);
  set(IDC_DEVELOPER, texts.developer);
  set(IDC_INSTITUTION, texts.institution);
  set(IDC_RIGHTS, texts.rights);
  set(IDC_HOME_PAGE_LABEL, texts.homePage);
  set(IDC_EMAIL_LABEL, texts.email);
  m_btnOK->setText(WidgetText(texts.ok));
}

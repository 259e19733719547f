#include "mainwindow/CMainDialog.h"

#include <QAction>

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStringList>
#include <QToolTip>
#include <QWindow>

#include "core/ProfileStore.h"
#include "core/ProgramSettings.h"
#include "core/VersionText.h"
#include "dialogs/CSettingsDialog.h"
#include "localisation/DialogUnits.h"
#include "localisation/LocalizedTexts.h"
#include "controls/CIconButton.h"
#include "controls/PreparedGlyphs.h"
#include "query/ClipboardCaptureRule.h"
#include "mainwindow/EmbeddedIcons.h"
#include "mainwindow/MainDialogQueryLink.h"
#include "core/WindowPositionRule.h"
#include "query/FileSizeFormat.h"
#include "query/QueryService.h"
#include "query/SizeQueryMessages.h"

const ControlTextEntry CMainDialog::MainControlTexts[] = {
    {IDC_URL_LABEL, 1}, {IDC_SIZE_LABEL, 2}, {IDC_TOPMOST, 3}, {ControlTextEntry::kEnd, 0}};

namespace {

// Window size and control places in dialog units, as the window was designed.
constexpr int kDialogWidth = 200;
constexpr int kDialogHeight = 67;

// The icons' pixels are compiled in: no PNG is decoded and no image-format plugin is looked
// for at the start. The application icon gets the sizes the screen's scale calls for; its
// largest picture (256 pixels, a quarter of a megabyte for the window manager) only on a
// screen that scales.
QIcon ApplicationIcon() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const bool scaled = screen && screen->devicePixelRatio() > 1.0;
  QIcon icon;
  for (const char* name : {"quorvane-16", "quorvane-32", "quorvane-48"}) icon.addPixmap(QPixmap::fromImage(EmbeddedIcon(name)));
  if (scaled) icon.addPixmap(QPixmap::fromImage(EmbeddedIcon("quorvane-256")));
  return icon;
}

// A button's picture in both of its sizes: Qt picks the one for the screen it is painted on.
QIcon ButtonIcon(const std::string& name) {
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(EmbeddedIcon(name.c_str())));
  icon.addPixmap(QPixmap::fromImage(EmbeddedIcon((name + "-32").c_str())));
  return icon;
}

}  // namespace

CMainDialog::CMainDialog(ProgramSettings& settings, ProfileStore& profile, LocalizedTexts& texts,
                         QueryService& queries, QWidget* parent)
    : CLocalizedDialog(texts, parent),
      m_settings(settings),
      m_profile(profile),
      m_texts(texts),
      m_queries(queries),
      m_hIcon(ApplicationIcon()) {
  m_queryLink = std::make_shared<MainDialogQueryLink>(this, texts.Table(), queries);
  CreateControls();
  OnInitDialog();
}

CMainDialog::~CMainDialog() { OnDestroy(); }

// The window as designed: places in dialog units, tab order as created.
void CMainDialog::CreateControls() {
  setWindowTitle("Quorvane");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_AlwaysShowToolTips);

  m_labelURL = new QLabel("&URL:", this);
  m_editURL = new QLineEdit(this);
  // An address is as long as it is: a shorter one would be another address.
  m_editURL->setMaxLength(std::numeric_limits<int>::max());
  m_labelURL->setBuddy(m_editURL);

  m_labelSize = new QLabel("&Размер:", this);
  m_editSize = new QLineEdit(this);
  m_editSize->setReadOnly(true);
  m_editSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_labelSize->setBuddy(m_editSize);

  m_checkTopmost = new QCheckBox("&Поверх всех окон", this);

  // Enter presses the focused button; anywhere else it presses the query button.
  m_btnQuery = new CIconButton(this);
  m_btnPaste = new CIconButton(this);
  m_btnSettings = new CIconButton(this);
  for (CIconButton* button : {m_btnQuery, m_btnPaste, m_btnSettings}) button->setAutoDefault(true);
  m_btnQuery->setDefault(true);

  m_editStatus = new QLineEdit(this);
  m_editStatus->setReadOnly(true);
  m_editStatus->setFocusPolicy(Qt::ClickFocus);

  RegisterControl(IDC_URL_LABEL, m_labelURL);
  RegisterControl(IDC_URL, m_editURL);
  RegisterControl(IDC_SIZE_LABEL, m_labelSize);
  RegisterControl(IDC_SIZE, m_editSize);
  RegisterControl(IDC_TOPMOST, m_checkTopmost);
  RegisterControl(IDOK, m_btnQuery);
  RegisterControl(IDC_PASTE, m_btnPaste);
  RegisterControl(IDC_SETTINGS, m_btnSettings);
  RegisterControl(IDC_STATUS, m_editStatus);

  connect(m_btnQuery, &QPushButton::clicked, this, &CMainDialog::OnOK);
  connect(m_btnPaste, &QPushButton::clicked, this, &CMainDialog::OnPasteURL);
  connect(m_btnSettings, &QPushButton::clicked, this, &CMainDialog::OnSettings);
  // X11 tells of every change of the CLIPBOARD selection, also while this window is inactive.
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainDialog::OnDrawClipboard);
  connect(m_checkTopmost, &QCheckBox::clicked, this, &CMainDialog::OnTopmost);
}

// Places the controls as designed, in dialog units. Where this font or a language needs
// more room than the design gives (a long label, wide digits in the size box, a long check
// box text), the control grows, what follows it on its row moves along and the window widens
// by what is missing, so no text is clipped; when the texts fit, nothing moves.
void CMainDialog::LayOutControls() {
  const QFontMetrics metrics(font());
  const QRect urlLabel = DialogUnits(7, 7, 18, 12);
  const int urlLabelWidth = std::max(urlLabel.width(), WidthForText(m_labelURL));
  const QRect urlBox = DialogUnits(29, 7, 143, 12).translated(urlLabelWidth - urlLabel.width(), 0);

  const QRect sizeLabel = DialogUnits(7, 27, 33, 12);
  const int sizeLabelWidth = std::max(sizeLabel.width(), WidthForText(m_labelSize));
  const QRect sizeBox = DialogUnits(41, 27, 51, 12).translated(sizeLabelWidth - sizeLabel.width(), 0);
  const int sizeWidth = std::max(sizeBox.width(), metrics.horizontalAdvance("4 294 967 295") + 12);
  const QRect check = DialogUnits(99, 27, 73, 12);
  const int checkLeft = std::max(check.left(), sizeBox.left() + sizeWidth + 6);
  const int checkWidth = std::max(check.width(), WidthForText(m_checkTopmost));
  const int widen =
      std::max({0, checkLeft + checkWidth - check.right() - 1, urlLabelWidth - urlLabel.width()});

  m_labelURL->setGeometry(urlLabel.left(), urlLabel.top(), urlLabelWidth, urlLabel.height());
  m_editURL->setGeometry(urlBox.adjusted(0, 0, widen - (urlLabelWidth - urlLabel.width()), 0));
  m_labelSize->setGeometry(sizeLabel.left(), sizeLabel.top(), sizeLabelWidth, sizeLabel.height());
  m_editSize->setGeometry(sizeBox.left(), sizeBox.top(), sizeWidth, sizeBox.height());
  m_checkTopmost->setGeometry(checkLeft, check.top(), checkWidth, check.height());
  m_btnQuery->setGeometry(DialogUnits(176, 6, 17, 16).translated(widen, 0));
  m_btnPaste->setGeometry(DialogUnits(176, 25, 17, 16).translated(widen, 0));
  m_btnSettings->setGeometry(DialogUnits(176, 44, 17, 16).translated(widen, 0));
  m_editStatus->setGeometry(DialogUnits(7, 48, 165, 12).adjusted(0, 0, widen, 0));
  setFixedSize(DialogUnits(0, 0, kDialogWidth, kDialogHeight).size() + QSize(widen, 0));
}

void CMainDialog::OnInitDialog() {
  m_aboutAction = new QAction(this);
  m_aboutAction->setShortcut(QKeySequence::HelpContents);
  addAction(m_aboutAction);
  connect(m_aboutAction, &QAction::triggered, this, &CMainDialog::AboutRequested);

  setWindowIcon(m_hIcon);
  PutInTopmostBand(m_settings.TopmostWindow);
  m_checkTopmost->setChecked(m_settings.TopmostWindow);
  ApplyTexts(TextMoment::Start);

  m_btnQuery->SetIcon(ButtonIcon("query"));
  m_btnPaste->SetIcon(ButtonIcon("paste"));
  m_btnSettings->SetIcon(ButtonIcon("settings"));

  QPalette tips = QToolTip::palette();
  tips.setColor(QPalette::ToolTipBase, Qt::white);
  tips.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(tips);

  setWindowTitle(QString::fromStdString("Quorvane " + GetVersionText()));
  move(0, 0);
}

void CMainDialog::SetControlTexts() { ApplyTexts(TextMoment::LanguageChanged); }

// At the start a text the table lacks leaves the control as designed (with its access
// key); after a change of language the built-in text takes its place.
void CMainDialog::ApplyTexts(TextMoment moment) {
  if (moment == TextMoment::Start) {
    ApplyLanguage(MainControlTexts);
  } else {
    m_labelURL->setText(m_texts.Text(1, "URL:"));
    m_labelSize->setText(m_texts.Text(2, "Размер:"));
    m_checkTopmost->setText(m_texts.Text(3, "Поверх всех окон"));
  }
  LayOutControls();
  m_btnQuery->setToolTip(m_texts.Text(4, "Запрос размера файла"));
  m_btnPaste->setToolTip(m_texts.Text(5, "Вставить URL из буфера обмена"));
  m_btnSettings->setToolTip(m_texts.Text(6, "Настройки программы"));
  m_aboutAction->setText(m_texts.Text(51, "&О программе..."));
  ShowSizeTip();
}

void CMainDialog::RestoreWindowPosition() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->geometry().size() : QSize();
  const QRect frame = frameGeometry();
  const WindowPlacement placed =
      RestoredWindowPosition(m_settings.xWindowPos, m_settings.yWindowPos, {frame.left(), frame.top()}, frame.width(),
                             frame.height(), screenSize.width(), screenSize.height());
  move(placed.left, placed.top);
}

// Changes the band without hiding the window: re-creating it would move it and
// would end the modal run.
void CMainDialog::PutInTopmostBand(bool topmost) {
  const Qt::WindowFlags flags = topmost ? windowFlags() | Qt::WindowStaysOnTopHint
                                        : windowFlags() & ~Qt::WindowStaysOnTopHint;
  overrideWindowFlags(flags);
  if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void CMainDialog::OnTopmost() {
  const bool topmost = m_checkTopmost->isChecked();
  PutInTopmostBand(topmost);
  m_settings.TopmostWindow = topmost;
  m_settings.Save(m_profile);
}

void CMainDialog::SetTextAndUpdate(QWidget* control, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
    edit->setCursorPosition(0);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  }
  control->repaint();
}

void CMainDialog::ShowFileSize(QWidget* control, std::uint64_t size) {
  SetTextAndUpdate(control, QString::fromStdString(FormatFileSize(size, m_settings.GroupDigits)));
}

QString CMainDialog::Address() const { return m_editURL->text(); }

void CMainDialog::ShowStatus(const QString& text) { SetTextAndUpdate(m_editStatus, text); }

void CMainDialog::ShowSizeText(const QString& text) {
  m_sizeShown.reset();
  ShowSizeTip();
  SetTextAndUpdate(m_editSize, text);
}

void CMainDialog::ShowSize(std::uint64_t size) {
  m_sizeShown = ShownSize{size, m_settings.GroupDigits};
  ShowSizeTip();
  ShowFileSize(m_editSize, size);
}

// The size box's tip gives the shown size in binary units too, in the current language
// and grouped as the box shows it; a box without a size has no tip.
void CMainDialog::ShowSizeTip() {
  QString tip;
  if (m_sizeShown) {
    std::string pattern = kSizeInBothUnitsBuiltIn;
    m_texts.GetString(kSizeInBothUnitsId, pattern);
    tip = WidgetText(FormatSizeInBothUnits(pattern, m_sizeShown->bytes, m_sizeShown->groupDigits));
  }
  const QString tipBefore = m_editSize->toolTip();
  m_editSize->setToolTip(tip);
  // A tip on screen keeps its text until the mouse moves: a size that comes while the user
  // hovers (a hand-off, a copied address) must not leave the old one showing.
  if (tipBefore.isEmpty() || !QToolTip::isVisible() || QToolTip::text() != tipBefore) return;
  if (tip.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(QCursor::pos(), tip, m_editSize);
}

void CMainDialog::EnableQueryButtons(bool enabled) {
  if (enabled) {
    m_btnPaste->setEnabled(true);
    m_btnQuery->setEnabled(true);
  } else {
    m_btnQuery->setEnabled(false);
    m_btnPaste->setEnabled(false);
  }
}

bool CMainDialog::AsksHttps() const { return m_settings.AskHttps; }

bool CMainDialog::AsksSizeOtherWays() const { return m_settings.AskSizeOtherWays; }

void CMainDialog::PutAddress(const QString& address) {
  m_editURL->setText(address);
  m_editURL->setCursorPosition(0);
}

void CMainDialog::OnOK() { m_queryLink->Start(); }

void CMainDialog::OnDrawClipboard() {
  if (isVisible() && QApplication::activeWindow() != this && m_settings.WatchClipboard) TakeURLFromClipboard(false);
}

void CMainDialog::PrepareTextDrawing() {
  // Every printable ASCII character: an address is made of them, the size of digits and blanks.
  QString ascii;
  for (char c = ' '; c <= '~'; ++c) ascii += QLatin1Char(c);
  QStringList texts{ascii};
  for (auto id = static_cast<std::uint32_t>(SizeQueryMessages::kBadAddress);
       id <= SizeQueryMessages::kAskingAnotherWay; ++id)
    texts += WidgetText(SizeQueryMessages::Text(m_texts.Table(), static_cast<SizeQueryMessages::Id>(id)));
  PrepareGlyphs(m_editURL->font(), texts);
  if (m_editStatus->font() != m_editURL->font()) PrepareGlyphs(m_editStatus->font(), texts);
}

void CMainDialog::OnPasteURL() { TakeURLFromClipboard(true); }

// The dialog is the window's child, so the window manager keeps it over the window; the
// window still takes clipboard changes and hand-offs while it is open.
void CMainDialog::OnSettings() {
  CSettingsDialog settings(m_settings, m_profile, m_texts, this);
  if (settings.exec() != QDialog::Accepted) return;
  m_texts.LoadLanguageFile(m_settings.LanguageFile, false);
  ShowStatus(QString());
  SetControlTexts();
}

bool CMainDialog::TakeURLFromClipboard(bool fromButton) {
  // A disabled query button means a query is running: the clipboard is not even read.
  if (!m_btnQuery->isEnabled()) return false;
  // Asking another program for its text blocks; Qt gives up on an owner that does not
  // answer within its clipboard timeout (5 s), and the capture then finds no text.
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return false;
  const ClipboardCapture capture =
      m_queries.CaptureFromClipboard(data->text().toStdString(), Address().toStdString(), m_settings.AskHttps);
  if (capture.verdict == ClipboardCapture::Verdict::SameAsUrlBox) return true;
  ShowStatus(QString());
  if (capture.verdict == ClipboardCapture::Verdict::Take) {
    PutAddress(QString::fromStdString(capture.address));
    if (m_settings.AutoAskSize) OnOK();
    return true;
  }
  if (fromButton) {
    using namespace SizeQueryMessages;
    ShowStatus(WidgetText(Text(m_texts.Table(), kBadAddress)));
  }
  return false;
}

// Enter reaches the default button; a dialog's own accept would close the window.
void CMainDialog::accept() { OnOK(); }

void CMainDialog::showEvent(QShowEvent* event) {
  CLocalizedDialog::showEvent(event);
  if (m_shown) return;
  m_shown = true;
  // Only a window that exists knows its frame, which the position rule measures.
  if (m_settings.SaveWindowPos) RestoreWindowPosition();
  OnShowWindow();
}

void CMainDialog::OnShowWindow() {
  if (m_strStartURL.isEmpty()) return;
  PutAddress(m_strStartURL);
  OnOK();
}

void CMainDialog::OnExchangeNotify(const std::optional<QByteArray>& message) {
  if (!m_settings.TopmostWindow) {
    raise();
    activateWindow();
  }
  if (!message || message->isEmpty()) return;
  // The address ends at the first NUL, if the message holds one.
  const QByteArray address = message->left(message->indexOf('\0') < 0 ? message->size() : message->indexOf('\0'));
  if (address.isEmpty() || address == m_editURL->text().toUtf8()) return;
  PutAddress(QString::fromUtf8(address));
  OnOK();
}

void CMainDialog::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(m_aboutAction);
  menu.exec(event->globalPos());
}

void CMainDialog::done(int result) {
  OnDestroy();
  CLocalizedDialog::done(result);
}

// The window's end: queries still running lose their window, and its place is kept.
void CMainDialog::OnDestroy() {
  if (m_destroyed) return;
  m_destroyed = true;
  m_queryLink->Detach();
  if (!m_settings.SaveWindowPos) return;
  m_settings.xWindowPos = frameGeometry().left();
  m_settings.yWindowPos = frameGeometry().top();
  m_settings.SaveWindowPosition(m_profile);
}

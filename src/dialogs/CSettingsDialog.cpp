#include "dialogs/CSettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "core/ProfileStore.h"
#include "core/ProgramSettings.h"
#include "localisation/DialogUnits.h"
#include "localisation/LocalizedTexts.h"

const ControlTextEntry CSettingsDialog::SettingsTextTable[] = {
    {ControlTextEntry::kCaption, 100}, {IDOK, 101},
    {IDCANCEL, 102},                   {IDC_WATCH_CLIPBOARD, 103},
    {IDC_AUTO_ASK_SIZE, 104},          {IDC_GROUP_DIGITS, 105},
    {IDC_SINGLE_INSTANCE, 106},        {IDC_SAVE_WINDOW_POS, 107},
    {IDC_LANGUAGE_LABEL, 108},         {IDC_ASK_HTTPS, 109},
    {IDC_ASK_SIZE_OTHER_WAYS, 110},
    {ControlTextEntry::kEnd, 0}};

namespace {

// The designed 180 x 113 units, a row taller for each option beyond the design's five:
// https, and asking for the size other ways.
constexpr int kDialogWidth = 180;
constexpr int kRow = 12;
constexpr int kAddedRows = 2 * kRow;
constexpr int kDialogHeight = 113 + kAddedRows;

}  // namespace

CSettingsDialog::CSettingsDialog(ProgramSettings& settings, ProfileStore& profile, const LocalizedTexts& texts,
                                 QWidget* parent)
    : CLocalizedDialog(texts, parent), m_settings(settings), m_profile(profile) {
  CreateControls();
  OnInitDialog(texts.LanguageFolder());
}

// The dialog as designed: places in dialog units, tab order as created.
void CSettingsDialog::CreateControls() {
  setWindowTitle("Настройки");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  struct Box {
    QCheckBox*& box;
    ControlId id;
    const char* text;
    int y;
    bool checked;
  };
  const Box boxes[] = {
      {m_checkWatchClipboard, IDC_WATCH_CLIPBOARD, "&Наблюдать за буфером обмена", 7, m_settings.WatchClipboard},
      {m_checkAutoAskSize, IDC_AUTO_ASK_SIZE, "&Автоматически запрашивать размер", 19, m_settings.AutoAskSize},
      {m_checkGroupDigits, IDC_GROUP_DIGITS, "&Группировать по 3 цифры", 32, m_settings.GroupDigits},
      {m_checkSingleInstance, IDC_SINGLE_INSTANCE, "&Разрешать запуск только одной копии", 44,
       m_settings.SingleInstance},
      {m_checkSaveWindowPos, IDC_SAVE_WINDOW_POS, "&Сохранять положение окна", 56, m_settings.SaveWindowPos},
      {m_checkAskHttps, IDC_ASK_HTTPS, "&Запрашивать и адреса https", 56 + kRow, m_settings.AskHttps},
      {m_checkAskSizeOtherWays, IDC_ASK_SIZE_OTHER_WAYS, "Узнавать размер и &другими способами", 56 + 2 * kRow,
       m_settings.AskSizeOtherWays},
  };
  for (const Box& each : boxes) {
    each.box = new QCheckBox(each.text, this);
    each.box->setChecked(each.checked);  // a copy: the settings change only on OK
    each.box->setGeometry(DialogUnits(7, each.y, 166, 10));
    RegisterControl(each.id, each.box);
  }

  m_labelLanguage = new QLabel("&Языковой файл:", this);
  m_labelLanguage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_labelLanguage->setGeometry(DialogUnits(7, 70 + kAddedRows, 75, 12));
  LanguageList = new QComboBox(this);
  LanguageList->setEditable(false);
  LanguageList->setMaxVisibleItems(8);
  // Its size hint then follows its entries, so the layout can give the widest one room.
  LanguageList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  const QRect list = DialogUnits(84, 70 + kAddedRows, 89, 12);
  LanguageList->setGeometry(list.x(), list.y(), list.width(), std::max(list.height(), LanguageList->sizeHint().height()));
  m_labelLanguage->setBuddy(LanguageList);
  RegisterControl(IDC_LANGUAGE_LABEL, m_labelLanguage);
  RegisterControl(IDC_LANGUAGE_LIST, LanguageList);

  m_btnOk = new QPushButton("OK", this);
  m_btnOk->setDefault(true);
  m_btnOk->setGeometry(DialogUnits(27, 92 + kAddedRows, 50, 14));
  m_btnCancel = new QPushButton("Отмена", this);
  m_btnCancel->setGeometry(DialogUnits(103, 92 + kAddedRows, 50, 14));
  RegisterControl(IDOK, m_btnOk);
  RegisterControl(IDCANCEL, m_btnCancel);
  connect(m_btnOk, &QPushButton::clicked, this, &CSettingsDialog::accept);
  connect(m_btnCancel, &QPushButton::clicked, this, &CSettingsDialog::reject);

  setFixedSize(DialogUnits(0, 0, kDialogWidth, kDialogHeight).size());
}

void CSettingsDialog::OnInitDialog(const QString& languageFolder) {
  // These two boxes reach 2 pixels higher, as designed.
  for (QCheckBox* box : {m_checkGroupDigits, m_checkSingleInstance})
    box->setGeometry(box->geometry().adjusted(0, -2, 0, 0));
  ApplyLanguage(SettingsTextTable);
  const QStringList entries = LanguageEntries(languageFolder);
  LanguageList->addItems(entries);
  LanguageList->setCurrentIndex(SelectedEntry(entries, QString::fromStdString(m_settings.LanguageFile)));
  LayOutControls();
}

// The places as designed, once the texts and the list's entries are in. A text longer than
// its place widens the control; the list moves along with its label, and the dialog widens to
// hold what grew, its buttons kept centred. When the texts fit, nothing moves. Only widths
// change, so the two raised boxes keep their tops.
void CSettingsDialog::LayOutControls() {
  auto widen = [](QWidget* control, int designedWidth) {
    control->resize(std::max(designedWidth, WidthForText(control)), control->height());
    return control->geometry().right() + 1;
  };
  int right = 0;
  for (QCheckBox* box : {m_checkWatchClipboard, m_checkAutoAskSize, m_checkGroupDigits, m_checkSingleInstance,
                         m_checkSaveWindowPos, m_checkAskHttps, m_checkAskSizeOtherWays})
    right = std::max(right, widen(box, DialogUnits(0, 0, 166, 0).width()));

  const int labelRight = widen(m_labelLanguage, DialogUnits(0, 0, 75, 0).width());
  const QRect list = DialogUnits(84, 70 + kAddedRows, 89, 12);
  LanguageList->move(std::max(list.left(), labelRight + DialogUnits(2, 0, 0, 0).x()), LanguageList->y());
  right = std::max(right, widen(LanguageList, list.width()));

  const int buttonWidth = DialogUnits(0, 0, 50, 0).width();
  const int okRight = widen(m_btnOk, buttonWidth);
  const QRect cancel = DialogUnits(103, 92 + kAddedRows, 50, 14);
  m_btnCancel->move(std::max(cancel.left(), okRight + DialogUnits(26, 0, 0, 0).x()), cancel.top());
  const int pairLeft = m_btnOk->x();
  const int pairRight = widen(m_btnCancel, buttonWidth);

  const int margin = DialogUnits(7, 0, 0, 0).x();
  const int width = std::max({DialogUnits(0, 0, kDialogWidth, 0).width(), right + margin, pairRight + pairLeft});
  const int centring = (width - pairLeft - pairRight) / 2;
  for (QPushButton* button : {m_btnOk, m_btnCancel}) button->move(button->pos() + QPoint(centring, 0));
  setFixedSize(width, DialogUnits(0, 0, 0, kDialogHeight).height());
}

QStringList CSettingsDialog::LanguageEntries(const QString& folder) {
  QStringList entries = {BuiltInLanguageEntry};
  // Whatever matches the pattern is listed, folders included, as the user named it.
  QDirIterator names(folder, {"*.lng"}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  while (names.hasNext() && entries.size() <= kMaxLanguageEntries) {
    names.next();
    entries.push_back(names.fileName());
  }
  std::sort(entries.begin(), entries.end(),
            [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
  return entries;
}

int CSettingsDialog::SelectedEntry(const QStringList& entries, const QString& languageFile) {
  for (int i = 0; i < entries.size(); ++i)
    if (entries[i].startsWith(languageFile, Qt::CaseInsensitive)) return i;
  return 0;
}

void CSettingsDialog::accept() {
  m_settings.WatchClipboard = m_checkWatchClipboard->isChecked();
  m_settings.GroupDigits = m_checkGroupDigits->isChecked();
  m_settings.AutoAskSize = m_checkAutoAskSize->isChecked();
  m_settings.SingleInstance = m_checkSingleInstance->isChecked();
  m_settings.SaveWindowPos = m_checkSaveWindowPos->isChecked();
  m_settings.AskHttps = m_checkAskHttps->isChecked();
  m_settings.AskSizeOtherWays = m_checkAskSizeOtherWays->isChecked();
  const QString chosen = LanguageList->currentText();
  m_settings.LanguageFile = chosen == BuiltInLanguageEntry ? "<main>" : chosen.toStdString();
  m_settings.Save(m_profile);
  CLocalizedDialog::accept();
}

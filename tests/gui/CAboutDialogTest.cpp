#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "TestServers.h"
#include "TestServices.h"
#include "core/ProductVersion.h"
#include "core/VersionText.h"
#include "controls/CHyperLink.h"
#include "dialogs/CAboutDialog.h"

namespace {

QString TextOf(const CAboutDialog& dialog, std::uint32_t id) {
  if (auto* label = qobject_cast<QLabel*>(dialog.Control(id))) return label->text();
  if (auto* button = qobject_cast<QPushButton*>(dialog.Control(id))) return button->text();
  return "(no control " + QString::number(id) + ")";
}

// The English language file the program ships, loaded for the test's length.
class WithShippedEnglish {
 public:
  WithShippedEnglish() {
    EXPECT_TRUE(TestServices::Get().Languages().LoadFromPath(QUORVANE_TEST_SUPPORT_DIR "/../../res/Language/QVN_eng.lng",
                                                              false));
  }
  ~WithShippedEnglish() { TestServices::Get().Languages().LoadLanguageFile("<main>", true); }
};

struct Expected {
  QString caption;
  std::vector<std::pair<std::uint32_t, QString>> texts;
};

void ExpectTexts(const CAboutDialog& dialog, const Expected& expected, const char* name) {
  EXPECT_EQ(dialog.windowTitle(), expected.caption) << name;
  for (const auto& [id, text] : expected.texts) EXPECT_EQ(TextOf(dialog, id), text) << name << ": control " << id;
}

const QString kVersion = QString::fromStdString(GetVersionText());

const Expected kBuiltIn = {"О программе",
                           {{CAboutDialog::IDC_PROGRAM, "Программа: Quorvane"},
                            {CAboutDialog::IDC_VERSION, "Версия: " + kVersion},
                            {CAboutDialog::IDC_DEVELOPER, "Разработчики Quorvane"},
                            {CAboutDialog::IDC_INSTITUTION, QString("Marrowby, %1 г.").arg(kSourceYear)},
                            {CAboutDialog::IDC_RIGHTS, "© Все права защищены."},
                            {CAboutDialog::IDC_HOME_PAGE_LABEL, "Домашняя страница:"},
                            {CAboutDialog::IDC_EMAIL_LABEL, "E-mail:"},
                            {CAboutDialog::IDC_HOME_PAGE_LINK, "www.example.org"},
                            {CAboutDialog::IDC_EMAIL_LINK, "help@example.org"},
                            {CAboutDialog::IDOK, "OK"}}};

const Expected kEnglish = {"About",
                           {{CAboutDialog::IDC_PROGRAM, "Program: Quorvane"},
                            {CAboutDialog::IDC_VERSION, "Version: " + kVersion},
                            {CAboutDialog::IDC_DEVELOPER, "Quorvane developers"},
                            {CAboutDialog::IDC_INSTITUTION, QString("Marrowby, %1").arg(kSourceYear)},
                            {CAboutDialog::IDC_RIGHTS, "© All rights reserved."},
                            {CAboutDialog::IDC_HOME_PAGE_LABEL, "Home page:"},
                            {CAboutDialog::IDC_EMAIL_LABEL, "E-mail:"},
                            {CAboutDialog::IDC_HOME_PAGE_LINK, "www.example.org"},
                            {CAboutDialog::IDC_EMAIL_LINK, "help@example.org"},
                            {CAboutDialog::IDOK, "OK"}}};

}  // namespace

// Texts come at each opening: a language loaded while the box is closed shows at the next.
TEST(CAboutDialog, ShowsTheLanguageLoadedWhenItOpens) {
  CAboutDialog dialog(TestServices::Get().Texts());
  dialog.show();
  ExpectTexts(dialog, kBuiltIn, "built-in texts");
  dialog.hide();
  {
    WithShippedEnglish english;
    dialog.show();
    ExpectTexts(dialog, kEnglish, "after loading English");
    dialog.hide();
  }
  dialog.show();
  ExpectTexts(dialog, kBuiltIn, "back to the built-in texts");
}

TEST(CAboutDialog, TheLinksShowTheirTextsAndOpenTheFullAddresses) {
  CAboutDialog dialog(TestServices::Get().Texts());
  dialog.HomePageLink()->SetTarget("changed while closed");
  dialog.show();
  EXPECT_EQ(dialog.HomePageLink()->text(), "www.example.org");
  EXPECT_EQ(dialog.HomePageLink()->Target(), "https://www.example.org/quorvane/");
  EXPECT_EQ(dialog.EmailLink()->text(), "help@example.org");
  EXPECT_EQ(dialog.EmailLink()->Target(), "mailto:help@example.org");
  EXPECT_EQ(dialog.Control(CAboutDialog::IDC_HOME_PAGE_LINK), dialog.HomePageLink());
  EXPECT_EQ(dialog.Control(CAboutDialog::IDC_EMAIL_LINK), dialog.EmailLink());
}

// The box as designed in dialog units of its font; the pictures at their own sizes; every
// text of both languages fits its place.
TEST(CAboutDialog, IsLaidOutInDialogUnitsAndEveryTextFits) {
  CAboutDialog dialog(TestServices::Get().Texts());
  dialog.show();
  const QFontMetrics metrics(dialog.font());
  const int cx = (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
  const int cy = metrics.height();
  auto units = [&](int x, int y, int w, int h) { return QRect(x * cx / 4, y * cy / 8, w * cx / 4, h * cy / 8); };

  // A font wider than the design's widens the label and link columns; the rest keeps its place.
  const auto frames = dialog.findChildren<QGroupBox*>();
  ASSERT_EQ(frames.size(), 1);
  const QRect frame = frames[0]->geometry();
  const int grow = frame.width() - units(7, 68, 217, 38).width();
  EXPECT_GE(grow, 0);
  EXPECT_EQ(frame, units(7, 68, 217, 38).adjusted(0, 0, grow, 0));
  EXPECT_EQ(dialog.size(), units(0, 0, 231, 113).size() + QSize(grow, 0));
  EXPECT_EQ(dialog.Control(CAboutDialog::IDOK)->geometry(), units(174, 7, 50, 14).translated(grow, 0));
  EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.Control(CAboutDialog::IDOK))->isDefault());
  const std::pair<std::uint32_t, QRect> lines[] = {
      {CAboutDialog::IDC_PROGRAM, units(40, 10, 120, 8)},     {CAboutDialog::IDC_VERSION, units(40, 20, 120, 8)},
      {CAboutDialog::IDC_DEVELOPER, units(40, 36, 120, 8)},   {CAboutDialog::IDC_INSTITUTION, units(40, 47, 120, 8)},
      {CAboutDialog::IDC_RIGHTS, units(40, 58, 120, 8)}};
  for (const auto& [id, place] : lines) EXPECT_EQ(dialog.Control(id)->geometry(), place) << "control " << id;

  const std::tuple<std::uint32_t, std::uint32_t, int> rows[] = {
      {CAboutDialog::IDC_HOME_PAGE_LABEL, CAboutDialog::IDC_HOME_PAGE_LINK, 78},
      {CAboutDialog::IDC_EMAIL_LABEL, CAboutDialog::IDC_EMAIL_LINK, 91}};
  for (const auto& [labelId, linkId, y] : rows) {
    const QRect label = dialog.Control(labelId)->geometry();
    const QRect link = dialog.Control(linkId)->geometry();
    EXPECT_EQ(label.top(), units(42, y, 0, 0).top()) << "row " << y;
    EXPECT_GE(label.left(), units(42, y, 0, 0).left()) << "row " << y << ": moved right only to clear its picture";
    EXPECT_EQ(label.height(), units(0, 0, 0, 8).height());
    EXPECT_EQ(link.top(), label.top());
    EXPECT_EQ(link.height(), label.height());
    EXPECT_GE(link.left(), label.right()) << "row " << y;
    EXPECT_TRUE(frame.contains(label) && frame.contains(link)) << "row " << y << " inside the frame";
  }
  EXPECT_FALSE(frame.intersects(dialog.Control(CAboutDialog::IDC_RIGHTS)->geometry()));

  // Program icon, browser and envelope, each at its own size where the design puts it.
  std::vector<QRect> pictures;
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    if (!label->pixmap().isNull()) pictures.push_back(label->geometry());
  std::sort(pictures.begin(), pictures.end(), [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
  const std::vector<QRect> designed = {QRect(units(11, 10, 0, 0).topLeft(), QSize(32, 32)),
                                       QRect(units(25, 73, 0, 0).topLeft(), QSize(32, 32)),
                                       QRect(units(31, 92, 0, 0).topLeft(), QSize(16, 10))};
  EXPECT_EQ(pictures, designed);

  for (bool english : {false, true}) {
    std::optional<WithShippedEnglish> language;
    if (english) language.emplace();
    dialog.hide();
    dialog.show();
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->text().isEmpty()) continue;
      EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
          << (english ? "English" : "built-in") << ": \"" << label->text().toStdString() << "\" is cut";
    }
    // Each row's centred label keeps clear of its picture by the room the design leaves
    // between a label and its link (115 to 119).
    const std::pair<std::uint32_t, int> pictured[] = {{CAboutDialog::IDC_HOME_PAGE_LABEL, 1},
                                                      {CAboutDialog::IDC_EMAIL_LABEL, 2}};
    for (const auto& [id, picture] : pictured) {
      const auto* label = qobject_cast<QLabel*>(dialog.Control(id));
      const int textLeft = label->x() + (label->width() - label->fontMetrics().horizontalAdvance(label->text())) / 2;
      EXPECT_GE(textLeft - pictures[picture].right() - 1, units(119, 0, 0, 0).x() - units(115, 0, 0, 0).x() - 1)
          << (english ? "English" : "built-in") << ": \"" << label->text().toStdString() << "\" near its picture";
    }
  }
}

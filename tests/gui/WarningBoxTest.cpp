#include <gtest/gtest.h>

#include <QCoreApplication>

#include <vector>

#include "app/CMainApp.h"
#include "desktop/WarningBox.h"

namespace {

struct Shown {
  QString title;
  QString text;
};

// Answers every message box at once and keeps what it said.
class AnsweredBoxes {
 public:
  AnsweredBoxes() {
    m_previous = WarningBox::SetHandler(
        [this](QWidget*, const QString& title, const QString& text) { shown.push_back({title, text}); });
  }
  ~AnsweredBoxes() { WarningBox::SetHandler(std::move(m_previous)); }
  std::vector<Shown> shown;

 private:
  WarningBox::Handler m_previous;
};

}  // namespace

// A language file that cannot be opened is told to the user once, in a box titled with the
// program's name, in both languages (no language is known to work at that moment).
TEST(WarningBoxTest, AMissingLanguageFileIsToldInOneBox) {
  AnsweredBoxes boxes;
  CMainApp* app = CMainApp::Current();
  EXPECT_FALSE(app->LoadLanguageFile("no-such-file.lng", false));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "quorvane_gui_tests");
  EXPECT_EQ(boxes.shown[0].text, "Языковой файл не найден!\nLanguage file not found!");

  EXPECT_FALSE(app->LoadLanguageFile("no-such-file.lng", true));
  EXPECT_EQ(boxes.shown.size(), 1u) << "quiet loading shows nothing";
}

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <vector>

#include "AnsweredBoxes.h"
#include "TestServices.h"
#include "desktop/WarningBox.h"

// A language file that cannot be opened is told to the user once, in a box titled with the
// program's name, in both languages (no language is known to work at that moment).
TEST(WarningBoxTest, AMissingLanguageFileIsToldInOneBox) {
  AnsweredBoxes boxes;
  LocalizedTexts& texts = TestServices::Get().Texts();
  EXPECT_FALSE(texts.LoadLanguageFile("no-such-file.lng", false));
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(boxes.titles[0], "quorvane_gui_tests");
  EXPECT_EQ(boxes.texts[0], "Языковой файл не найден!\nLanguage file not found!");

  EXPECT_FALSE(texts.LoadLanguageFile("no-such-file.lng", true));
  EXPECT_EQ(boxes.texts.size(), 1) << "quiet loading shows nothing";
}

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TestServers.h"
#include "localisation/LanguageTable.h"

namespace {

class LanguageTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = MakeTempFolder();
    m_table.SetLanguageFolder(m_folder);
    m_table.SetMissingFileHandler([this](const std::string& message) { m_messages.push_back(message); });
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(m_folder + "/" + name, std::ios::binary) << bytes;
  }
  std::string TextOf(std::uint32_t id) {
    std::string text = "(none)";
    m_table.GetString(id, text);
    return text;
  }

  std::string m_folder;
  LanguageTable m_table;
  std::vector<std::string> m_messages;
};

}  // namespace

TEST_F(LanguageTableTest, LoadsAFileFromTheLanguageFolder) {
  Write("QVN_eng.lng", "1=URL:\r\n1003=Connecting...\r\n");
  EXPECT_TRUE(m_table.LoadLanguageFile("QVN_eng.lng", false));
  EXPECT_EQ(TextOf(1), "URL:");
  EXPECT_EQ(m_table.Text(1003, "built-in"), "Connecting...");
  EXPECT_EQ(m_table.Text(2, "built-in"), "built-in");
  std::string untouched = "kept";
  EXPECT_FALSE(m_table.GetString(2, untouched));
  EXPECT_EQ(untouched, "kept");
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(LanguageTableTest, AMissingFileKeepsTheTextsAndSaysSoEachTime) {
  Write("a.lng", "1=A\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_FALSE(m_table.LoadLanguageFile("missing.lng", false));
  EXPECT_FALSE(m_table.LoadLanguageFile("missing.lng", false));
  EXPECT_EQ(TextOf(1), "A");
  ASSERT_EQ(m_messages.size(), 2u);
  EXPECT_EQ(m_messages[0], "Языковой файл не найден!\r\nLanguage file not found!");

  EXPECT_FALSE(m_table.LoadLanguageFile("missing.lng", true));
  EXPECT_EQ(m_messages.size(), 2u) << "quiet loads say nothing";
}

TEST_F(LanguageTableTest, MainSelectsTheBuiltInTextsEvenIfSuchAFileExists) {
  Write("a.lng", "1=A\n");
  Write("<main>", "1=from a file\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_TRUE(m_table.LoadLanguageFile("<main>", false));
  EXPECT_EQ(TextOf(1), "(none)");
}

TEST_F(LanguageTableTest, AFileWithoutEntriesLoadsAndEmptiesTheTable) {
  Write("a.lng", "1=A\n");
  Write("comments.lng", "; nothing here\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_TRUE(m_table.LoadLanguageFile("comments.lng", false));
  EXPECT_EQ(TextOf(1), "(none)");
}

TEST_F(LanguageTableTest, AFolderIsNoLanguageFile) {
  std::filesystem::create_directory(m_folder + "/folder.lng");
  Write("a.lng", "1=A\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_FALSE(m_table.LoadLanguageFile("folder.lng", false));
  EXPECT_EQ(TextOf(1), "A");
  EXPECT_EQ(m_messages.size(), 1u);
}

// Readers on another thread see one whole language or the other, never a mix.
TEST_F(LanguageTableTest, ReloadsAreSafeAgainstReadersOnAnotherThread) {
  std::string english, german;
  for (int id = 1; id <= 200; ++id) {
    english += std::to_string(id) + "=en\n";
    german += std::to_string(id) + "=de\n";
  }
  Write("en.lng", english);
  Write("de.lng", german);
  ASSERT_TRUE(m_table.LoadLanguageFile("en.lng", false));

  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::atomic<int> missing{0};  // a half-built table would lack some texts
  std::thread reader([&] {
    while (!stop) {
      for (std::uint32_t id : {1u, 100u, 200u}) {
        const std::string text = m_table.Text(id, "?");
        if (text != "en" && text != "de") ++missing;
        ++reads;
      }
    }
  });
  // The reader must really run during the reloads, however the threads are scheduled.
  while (reads.load() == 0) std::this_thread::yield();
  const int readsBeforeReloads = reads.load();
  bool allLoaded = true;
  for (int i = 0; allLoaded && (i < 300 || reads.load() < readsBeforeReloads + 300); ++i)
    allLoaded = m_table.LoadLanguageFile(i % 2 ? "en.lng" : "de.lng", false);
  stop = true;
  reader.join();
  EXPECT_TRUE(allLoaded);
  EXPECT_EQ(missing.load(), 0);
}

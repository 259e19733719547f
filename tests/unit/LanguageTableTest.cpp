#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "TestServers.h"
#include "core/LanguageTable.h"

namespace {

class LanguageTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = MakeTempFolder();
    m_table.SetLanguageFolder(m_folder);
    m_table.SetMissingFileHandler([this](const std::string& message) { m_messages.push_back(message); });
    m_table.SetLoadProblemHandler([this](const std::string& path, const LanguageFileRead& read) {
      m_problems.push_back({path, read});
    });
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

  struct Problem {
    std::string path;
    LanguageFileRead read;
  };

  std::string m_folder;
  LanguageTable m_table;
  std::vector<std::string> m_messages;
  std::vector<Problem> m_problems;
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

// Whatever a name leads to, loading it ends at once with a defined outcome: a regular
// file of at most the size limit is read, everything else is a file that cannot be
// opened, which keeps the texts in force and says so unless quiet.
TEST_F(LanguageTableTest, AnythingButASmallRegularFileCannotBeOpened) {
  std::filesystem::create_directory(m_folder + "/folder.lng");
  {
    std::ofstream over(m_folder + "/over.lng", std::ios::binary);
    over << "1=over\n" << std::string(LanguageFileReader::kMaxFileBytes - 7, ';') << '\n';
  }
  {
    std::ofstream huge(m_folder + "/huge.lng");
    huge << "1=huge\n";
  }
  std::filesystem::resize_file(m_folder + "/huge.lng", std::uintmax_t{8} << 30);  // sparse: costs no disk
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = m_folder + "/socket.lng";
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

  struct Case {
    std::string name;  // as the LanguageFile setting would hold it
    LanguageFileStatus status;
  };
  const Case cases[] = {
      {"missing.lng", LanguageFileStatus::CannotOpen},
      {"folder.lng", LanguageFileStatus::NotRegularFile},
      // The name reaches out of the folder, as a setting may: a device that never ends.
      {std::filesystem::relative("/dev/zero", m_folder).string(), LanguageFileStatus::NotRegularFile},
      {"socket.lng", LanguageFileStatus::CannotOpen},
      {"over.lng", LanguageFileStatus::TooLarge},
      {"huge.lng", LanguageFileStatus::TooLarge},
  };
  Write("a.lng", "1=A\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
    m_messages.clear();
    m_problems.clear();
    EXPECT_FALSE(m_table.LoadLanguageFile(c.name, false));
    EXPECT_FALSE(m_table.LoadLanguageFile(c.name, true));
    EXPECT_EQ(TextOf(1), "A");
    EXPECT_EQ(m_messages, std::vector<std::string>{LanguageTable::kMissingFileMessage}) << "said once: one load was quiet";
    ASSERT_EQ(m_problems.size(), 2u) << "told of quiet loads as well";
    EXPECT_EQ(m_problems[0].path, m_folder + "/" + c.name);
    EXPECT_EQ(m_problems[0].read.status, c.status);
    EXPECT_EQ(m_problems[0].read.error != 0, c.status == LanguageFileStatus::CannotOpen);
  }
  close(listener);
}

// The limit itself is a size a language file may have; one byte more is refused.
TEST_F(LanguageTableTest, TheSizeLimitIsExact) {
  const std::string entry = "1=B\n";
  Write("limit.lng", entry + std::string(LanguageFileReader::kMaxFileBytes - entry.size(), ';'));
  Write("a.lng", "1=A\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_TRUE(m_table.LoadLanguageFile("limit.lng", false));
  EXPECT_EQ(TextOf(1), "B");
  EXPECT_TRUE(m_problems.empty());

  Write("limit.lng", entry + std::string(LanguageFileReader::kMaxFileBytes - entry.size() + 1, ';'));
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_FALSE(m_table.LoadLanguageFile("limit.lng", false));
  EXPECT_EQ(TextOf(1), "A");
  ASSERT_EQ(m_problems.size(), 1u);
  EXPECT_EQ(m_problems[0].read.status, LanguageFileStatus::TooLarge);
}

// Opening a FIFO for reading waits for a writer unless it is opened without blocking.
// Should the load ever block, a writer comes after a few seconds so the test ends.
TEST_F(LanguageTableTest, AFifoNobodyWritesToIsRefusedAtOnce) {
  const std::string fifo = m_folder + "/fifo.lng";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Write("a.lng", "1=A\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));

  std::mutex lock;
  std::condition_variable done;
  bool loaded = false;
  bool hadToWrite = false;
  std::thread watchdog([&] {
    std::unique_lock guard(lock);
    if (done.wait_for(guard, std::chrono::seconds(5), [&] { return loaded; })) return;
    hadToWrite = true;
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) close(writer);
  });
  const bool result = m_table.LoadLanguageFile("fifo.lng", false);
  {
    std::lock_guard guard(lock);
    loaded = true;
  }
  done.notify_one();
  watchdog.join();

  EXPECT_FALSE(hadToWrite) << "the load waited for a writer";
  EXPECT_FALSE(result);
  EXPECT_EQ(TextOf(1), "A");
  EXPECT_EQ(m_messages.size(), 1u);
  ASSERT_EQ(m_problems.size(), 1u);
  EXPECT_EQ(m_problems[0].read.status, LanguageFileStatus::NotRegularFile);
}

// /proc/self/mem is a regular file whose first read fails (address 0 is never mapped):
// the read error ends the file at once, so the table holds what came before, nothing.
TEST_F(LanguageTableTest, AReadErrorEndsTheFileLikeItsEnd) {
  Write("a.lng", "1=A\n");
  ASSERT_TRUE(m_table.LoadLanguageFile("a.lng", false));
  EXPECT_TRUE(m_table.LoadFromPath("/proc/self/mem", false));
  EXPECT_EQ(TextOf(1), "(none)");
  EXPECT_TRUE(m_messages.empty()) << "the file was opened";
  ASSERT_EQ(m_problems.size(), 1u);
  EXPECT_EQ(m_problems[0].read.status, LanguageFileStatus::ReadError);
  EXPECT_EQ(m_problems[0].read.error, EIO);
}

// A file the user may not read. The tests run as root, who may read anything, so the
// load runs in a child process that has given up root for the "nobody" account.
TEST_F(LanguageTableTest, AFileWithoutReadPermissionCannotBeOpened) {
  Write("private.lng", "1=secret\n");
  ASSERT_EQ(chmod((m_folder + "/private.lng").c_str(), 0000), 0);
  ASSERT_EQ(chmod(m_folder.c_str(), 0755), 0);  // the folder itself stays open to all

  // Bits of the child's exit status, each a check that failed.
  enum : int { kLoaded = 1, kNoMessage = 2, kWrongReason = 4, kStillRoot = 8 };
  const auto tryToLoad = [&] {
    LanguageTable table;
    int messages = 0;
    LanguageFileRead read{};
    table.SetMissingFileHandler([&](const std::string&) { ++messages; });
    table.SetLoadProblemHandler([&](const std::string&, const LanguageFileRead& r) { read = r; });
    int failures = 0;
    if (table.LoadFromPath(m_folder + "/private.lng", false)) failures |= kLoaded;
    if (messages != 1) failures |= kNoMessage;
    if (read.status != LanguageFileStatus::CannotOpen || read.error != EACCES) failures |= kWrongReason;
    return failures;
  };
  if (geteuid() != 0) {
    EXPECT_EQ(tryToLoad(), 0);
    return;
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const gid_t nobody = 65534;
    if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0 || geteuid() == 0) _exit(kStillRoot);
    _exit(tryToLoad());
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks: loaded=1 no message=2 wrong reason=4 still root=8";
}

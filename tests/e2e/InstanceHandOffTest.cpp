#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "TestServers.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Real copies of the program on the offscreen platform, sharing one user's
// settings and runtime folder, against an HTTP server whose request log shows
// which addresses were asked for.
class HandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    m_home = MakeTempFolder();
    fs::create_directories(m_home + "/config/Marrowby");
    fs::create_directories(m_home + "/run");
    fs::permissions(m_home + "/run", fs::perms::owner_all);
    fs::create_directories(m_home + "/tmp");
    m_runtime = m_home + "/run";
    WriteSettings("SingleInstance=1");
    m_log = m_home + "/requests.log";
    m_server = TestServer::Http("http", m_log);
  }
  void TearDown() override {
    for (auto& copy : m_copies) copy->Terminate();
    m_copies.clear();
    m_server.reset();
    fs::remove_all(m_home);
  }

  void WriteSettings(const std::string& singleInstance) {
    // Built-in texts: a missing language file would hold start-up in a message box.
    std::ofstream(m_home + "/config/Marrowby/Quorvane.conf")
        << "[Settings]\nLanguageFile=<main>\n" << singleInstance << "\n";
  }

  std::vector<std::string> Environment() const {
    return {"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + m_home + "/config",
            "XDG_RUNTIME_DIR=" + m_runtime, "TMPDIR=" + m_home + "/tmp", "http_proxy=", "HTTP_PROXY=", "no_proxy=*"};
  }
  std::vector<std::string> Argv(const std::vector<std::string>& arguments) const {
    std::vector<std::string> argv = {QUORVANE_EXE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
  }
  std::string Address(const std::string& tag) const { return m_server->Url("http", "/file/1?" + tag); }
  std::string SocketPath() const { return m_runtime + "/Quorvane/ExchangeBuffer"; }

  // Starts a copy that keeps running, and waits until it asked for its own address.
  ChildProcess& StartRunningCopy(const std::string& tag) {
    m_copies.push_back(std::make_unique<ChildProcess>(Argv({Address(tag)}), Environment()));
    EXPECT_TRUE(WaitForRequests(tag, 1)) << "the copy did not start: " << m_copies.back()->Stderr();
    return *m_copies.back();
  }
  // A second start that is expected to end by itself.
  ChildProcess::Result StartAgain(const std::vector<std::string>& arguments) {
    return ChildProcess::Run(Argv(arguments), 20s, Environment());
  }

  int Requests(const std::string& tag) const {
    std::ifstream in(m_log);
    std::string line;
    int count = 0;
    while (std::getline(in, line))
      count += line.find("?" + tag + " HTTP/") != std::string::npos || line.find("?" + tag + "&") != std::string::npos;
    return count;
  }
  bool WaitForRequests(const std::string& tag, int count, std::chrono::milliseconds timeout = 10s) const {
    for (const auto deadline = Clock::now() + timeout; Clock::now() < deadline;) {
      if (Requests(tag) >= count) return true;
      std::this_thread::sleep_for(20ms);
    }
    return Requests(tag) >= count;
  }
  // A hand-off that arrives while the window still asks for the previous address is shown but,
  // by design, not asked. To see a hand-off asked, offer fresh addresses (tag0, tag1, ...) until
  // one is asked, and give that one.
  std::string HandOverUntilAsked(const std::string& tag, const std::vector<std::string>& more = {}) {
    std::vector<std::string> offered;
    for (int attempt = 0; attempt < 10; ++attempt) {
      offered.push_back(tag + std::to_string(attempt));
      std::vector<std::string> arguments = {Address(offered.back())};
      arguments.insert(arguments.end(), more.begin(), more.end());
      if (StartAgain(arguments).exitStatus != 0) return "";
      for (const auto deadline = Clock::now() + 2s; Clock::now() < deadline; std::this_thread::sleep_for(20ms))
        for (const std::string& each : offered)
          if (Requests(each) > 0) return each;
    }
    return "";
  }
  // After a hand-off of `tag`: the address that was asked, `tag` itself or, when the window was
  // still busy as it arrived, one offered again; empty when none was.
  std::string AskedAddress(const std::string& tag, const std::vector<std::string>& more = {}) {
    return WaitForRequests(tag, 1, 2s) ? tag : HandOverUntilAsked(tag, more);
  }
  // Nothing more arrives for a while (a query would arrive within milliseconds).
  bool StaysAt(const std::string& tag, int count) const {
    std::this_thread::sleep_for(500ms);
    return Requests(tag) == count;
  }

  std::string m_home;
  std::string m_runtime;  // the session's runtime folder as the copies are told it
  std::string m_log;
  std::unique_ptr<TestServer> m_server;
  std::vector<std::unique_ptr<ChildProcess>> m_copies;
};

// A local client of the channel that does whatever a test wants it to.
int ConnectRaw(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// The running copy as a test plays it: one plain listener at the channel's place that
// writes down what the sender says and answers as told (or never).
class ScriptedRunningCopy {
 public:
  ScriptedRunningCopy(const std::string& socketPath, std::optional<char> reply) : m_reply(reply) {
    fs::create_directories(fs::path(socketPath).parent_path());
    fs::permissions(fs::path(socketPath).parent_path(), fs::perms::owner_all);
    m_listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    EXPECT_EQ(bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(m_listener, 4), 0);
    m_thread = std::thread([this] { Serve(); });
  }
  ~ScriptedRunningCopy() {
    shutdown(m_listener, SHUT_RDWR);
    if (m_client >= 0) shutdown(m_client, SHUT_RDWR);
    m_thread.join();
    close(m_listener);
    if (m_client >= 0) close(m_client);
  }
  // What the sender said, once it has said it all (read before the answer goes out).
  std::string Received() {
    m_thread.join();
    m_thread = std::thread([] {});
    return m_received;
  }

 private:
  void Serve() {
    m_client = accept(m_listener, nullptr, nullptr);
    if (m_client < 0) return;
    // A frame's length is read as the wire says; anything after the notification is not.
    for (char byte; m_received.empty() || m_received.back() != 'N' || InMessage();) {
      if (read(m_client, &byte, 1) != 1) return;
      m_received += byte;
    }
    if (m_reply) EXPECT_EQ(write(m_client, &*m_reply, 1), 1);
  }
  bool InMessage() const {
    if (m_received.front() != 'M') return false;
    if (m_received.size() < 5) return true;
    const auto* length = reinterpret_cast<const unsigned char*>(m_received.data() + 1);
    const std::size_t size = (std::size_t(length[0]) << 24) | (length[1] << 16) | (length[2] << 8) | length[3];
    return m_received.size() < 5 + size + 1;
  }

  std::optional<char> m_reply;
  int m_listener = -1;
  std::atomic<int> m_client{-1};  // the destructor wakes a serving thread through it
  std::string m_received;
  std::thread m_thread;
};

std::string Frame(const std::string& address) {
  const auto size = static_cast<std::uint32_t>(address.size());
  const char length[] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
  return "M" + std::string(length, 4) + address;
}

}  // namespace

// The second copy speaks the channel's wire before any Qt application exists: a platform
// that cannot be loaded does not stop a copy that hands over.
TEST_F(HandOff, ASecondStartSpeaksTheWireBeforeAnyWindowExists) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::string said;
  };
  const std::string address = "http://example.org/\xc3\xa4 -x";
  const Case cases[] = {
      {"an address", {address, "ignored"}, Frame(address) + "N"},
      {"no address", {}, "N"},
      {"an empty address", {""}, Frame("") + "N"},
  };
  std::vector<std::string> environment = Environment();
  environment.push_back("QT_QPA_PLATFORM=no-such-platform");
  for (const auto& c : cases) {
    fs::remove(SocketPath());
    ScriptedRunningCopy running(SocketPath(), 'A');
    const auto second = ChildProcess::Run(Argv(c.arguments), 20s, environment);
    EXPECT_EQ(second.exitStatus, 0) << c.name << ": " << second.err;
    EXPECT_EQ(running.Received(), c.said) << c.name;
  }
}

TEST_F(HandOff, AnAnswerThatIsNoAcknowledgementIsNoHandOff) {
  struct Case {
    const char* name;
    std::optional<char> reply;
  };
  const Case cases[] = {{"a byte that means nothing", 'x'}, {"closed without a word", std::nullopt}};
  for (const auto& c : cases) {
    fs::remove(SocketPath());
    auto running = std::make_unique<ScriptedRunningCopy>(SocketPath(), c.reply);
    std::thread closer;
    if (!c.reply) closer = std::thread([&running] { running->Received(); running.reset(); });
    const auto second = StartAgain({Address("unanswered")});
    if (closer.joinable()) closer.join();
    EXPECT_EQ(second.exitStatus, 1) << c.name;
    EXPECT_NE(second.err.find("quorvane: the running copy did not answer; nothing was handed over."),
              std::string::npos) << c.name << ": " << second.err;
    EXPECT_EQ(Requests("unanswered"), 0) << c.name << ": no window of its own";
  }
}

// A running copy that takes the hand-off and never answers holds a second start for the
// bounded wait, not longer.
TEST_F(HandOff, ASilentRunningCopyIsWaitedForTenSeconds) {
  ScriptedRunningCopy running(SocketPath(), std::nullopt);
  const auto start = Clock::now();
  const auto second = StartAgain({Address("unanswered")});
  const auto took = Clock::now() - start;
  EXPECT_EQ(second.exitStatus, 1) << second.err;
  EXPECT_GE(took, 9500ms);
  EXPECT_LT(took, 19s);
}

// The window's start loads neither libcurl nor Qt Network: the network code is loaded the
// first time the window asks a size, the channel's server once the window has painted; the
// query and the hand-off then work as ever.
// Nothing of the network, nor of Qt for the executable, is needed at the start: the
// executable maps the window module, the window module the network code once the window
// stands (in the background) or on its first query.
TEST_F(HandOff, TheNetworkCodeIsNoPartOfTheStart) {
  const std::string folder = fs::path(QUORVANE_EXE).parent_path().string();
  for (const std::string& file : {std::string(QUORVANE_EXE), folder + "/libquorvane_window.so"}) {
    const auto needed = ChildProcess::Run({"readelf", "-d", file}, 10s);
    ASSERT_EQ(needed.exitStatus, 0) << needed.err;
    for (const char* library : {"libcurl", "libQt6Network"})
      EXPECT_EQ(needed.out.find(library), std::string::npos) << library << " is needed by " << file;
  }
  const auto qt = ChildProcess::Run({"readelf", "-d", QUORVANE_EXE}, 10s);
  EXPECT_EQ(qt.out.find("libQt6"), std::string::npos) << "the executable needs Qt";

  const auto mapped = [](pid_t pid, const std::string& library) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    for (std::string line; std::getline(maps, line);)
      if (line.find(library) != std::string::npos) return true;
    return false;
  };
  m_copies.push_back(std::make_unique<ChildProcess>(Argv({}), Environment()));
  const pid_t window = m_copies.back()->Pid();
  for (const auto deadline = Clock::now() + 10s; !fs::exists(SocketPath()) && Clock::now() < deadline;)
    std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(fs::exists(SocketPath())) << "the window did not start: " << m_copies.back()->Stderr();
  EXPECT_TRUE(mapped(window, "libquorvane_window"));

  EXPECT_EQ(StartAgain({Address("first-query")}).exitStatus, 0);
  ASSERT_TRUE(WaitForRequests("first-query", 1)) << m_copies.back()->Stderr();
  EXPECT_TRUE(mapped(window, "libcurl"));
  EXPECT_TRUE(mapped(window, "libquorvane_network"));
  EXPECT_TRUE(mapped(window, "libquorvane_channel"));
}

// A refusal comes from a copy that is closing: the new copy runs its own window and owns
// the channel from then on.
TEST_F(HandOff, ARefusalMeansThisCopyRunsItsOwnWindow) {
  {
    ScriptedRunningCopy closing(SocketPath(), 'R');
    m_copies.push_back(std::make_unique<ChildProcess>(Argv({Address("own")}), Environment()));
    EXPECT_EQ(closing.Received(), Frame(Address("own")) + "N");
  }
  ASSERT_TRUE(WaitForRequests("own", 1)) << m_copies.back()->Stderr();
  EXPECT_EQ(StartAgain({Address("handed")}).exitStatus, 0);
  EXPECT_FALSE(AskedAddress("handed").empty());
}

TEST_F(HandOff, ASecondStartHandsItsAddressToTheRunningCopy) {
  StartRunningCopy("first");

  const auto start = Clock::now();
  const auto second = StartAgain({Address("second"), Address("ignored")});
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  EXPECT_EQ(second.exitStatus, 0) << second.err;
  RecordProperty("hand_off_ms", static_cast<int>(took.count()));
  std::printf("second start to exit: %lld ms\n", static_cast<long long>(took.count()));
  const std::string asked = AskedAddress("second", {Address("ignored")});
  ASSERT_FALSE(asked.empty()) << "the handed-over address was never asked";
  EXPECT_EQ(Requests("ignored"), 0) << "only the first argument counts";

  // The address the window already shows is not asked again.
  EXPECT_EQ(StartAgain({Address(asked)}).exitStatus, 0);
  EXPECT_TRUE(StaysAt(asked, 1));

  // Without an address the running copy only comes forward.
  EXPECT_EQ(StartAgain({}).exitStatus, 0);
  EXPECT_TRUE(StaysAt(asked, 1));
  EXPECT_TRUE(StaysAt("first", 1));
}

TEST_F(HandOff, AnAddressOver2048BytesIsNotTakenAndChangesNothing) {
  StartRunningCopy("first");
  const std::string base = Address("long");
  const std::string exactly2048 = base + "&" + std::string(2048 - base.size() - 1, 'x');
  ASSERT_EQ(exactly2048.size(), 2048u);

  EXPECT_EQ(StartAgain({exactly2048 + "y"}).exitStatus, 0);
  EXPECT_TRUE(StaysAt("long", 0));

  EXPECT_EQ(StartAgain({exactly2048}).exitStatus, 0);
  EXPECT_TRUE(WaitForRequests("long", 1)) << "2048 bytes are taken whole";

  EXPECT_EQ(StartAgain({Address("after")}).exitStatus, 0);
  EXPECT_FALSE(AskedAddress("after").empty()) << "the next hand-off still works";
}

TEST_F(HandOff, SilentGarbageAndManyClientsDoNotBlockTheWindow) {
  StartRunningCopy("first");
  std::vector<int> silent;
  for (int i = 0; i < 4; ++i) silent.push_back(ConnectRaw(SocketPath()));
  const int garbage = ConnectRaw(SocketPath());
  ASSERT_GE(garbage, 0);
  ASSERT_EQ(write(garbage, "\x01garbage\xff", 9), 9);

  // A slow client that sends half a frame and then nothing.
  const int slow = ConnectRaw(SocketPath());
  ASSERT_EQ(write(slow, "M\0\0", 3), 3);

  // The second copy ends only once the window has handled its hand-off.
  const auto start = Clock::now();
  EXPECT_EQ(StartAgain({Address("meanwhile")}).exitStatus, 0);
  EXPECT_LT(Clock::now() - start, 2s) << "the window kept serving while clients idled";
  EXPECT_FALSE(AskedAddress("meanwhile").empty());

  // Far more idle clients than are served at once: they are dropped within seconds.
  for (int i = 0; i < 20; ++i) silent.push_back(ConnectRaw(SocketPath()));
  std::this_thread::sleep_for(3500ms);
  EXPECT_EQ(StartAgain({Address("later")}).exitStatus, 0);
  EXPECT_FALSE(AskedAddress("later").empty());

  char byte;
  EXPECT_EQ(read(silent.front(), &byte, 1), 0) << "an idle client is dropped";
  for (int fd : silent) close(fd);
  close(garbage);
  close(slow);
}

TEST_F(HandOff, TheChannelIsOnlyForThisUser) {
  StartRunningCopy("first");
  struct stat folder {}, socketFile{};
  ASSERT_EQ(stat((m_home + "/run/Quorvane").c_str(), &folder), 0);
  ASSERT_EQ(stat(SocketPath().c_str(), &socketFile), 0);
  EXPECT_EQ(folder.st_mode & 0777, 0700u);
  EXPECT_EQ(socketFile.st_mode & 077, 0u);
  EXPECT_EQ(folder.st_uid, getuid());
}

TEST_F(HandOff, APlantedLinkIsNoChannelFolder) {
  const std::string elsewhere = m_home + "/elsewhere";
  fs::create_directories(elsewhere);
  fs::permissions(elsewhere, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  fs::create_directory_symlink(elsewhere, m_home + "/run/Quorvane");

  StartRunningCopy("first");  // runs on its own, without a channel
  EXPECT_TRUE(fs::is_empty(elsewhere)) << "nothing is made behind the link";
  EXPECT_EQ(fs::status(elsewhere).permissions() & fs::perms::group_all,
            fs::perms::group_read | fs::perms::group_exec)
      << "the link's target is not touched";
}

TEST_F(HandOff, ACopyKilledOutrightDoesNotBlockTheNextStart) {
  ChildProcess& killed = StartRunningCopy("first");
  kill(killed.Pid(), SIGKILL);
  killed.Finish(5s);
  ASSERT_TRUE(fs::exists(SocketPath())) << "the killed copy leaves its socket behind";

  ChildProcess& next = StartRunningCopy("next");
  EXPECT_EQ(StartAgain({Address("handed")}).exitStatus, 0);
  EXPECT_FALSE(AskedAddress("handed").empty());
  EXPECT_GT(next.Pid(), 0);
}

TEST_F(HandOff, WithSingleInstanceOffEveryStartHasItsOwnWindow) {
  WriteSettings("SingleInstance=0");
  ChildProcess& first = StartRunningCopy("first");
  ChildProcess& second = StartRunningCopy("second");  // runs on instead of handing over
  EXPECT_TRUE(second.IsRunning());
  std::ifstream lock(SocketPath() + ".lock");
  std::string owner;
  std::getline(lock, owner);
  EXPECT_EQ(owner, std::to_string(first.Pid())) << "only the first owns the channel";
}

// Started together, either both run (one of them owns the channel) or the later
// one finds the earlier and hands over: which one happens is a matter of timing.
TEST_F(HandOff, TwoCopiesStartedAtOnceNeitherCrashes) {
  ChildProcess one(Argv({Address("one")}), Environment());
  ChildProcess two(Argv({Address("two")}), Environment());
  EXPECT_TRUE(WaitForRequests("one", 1) || WaitForRequests("two", 1));
  std::this_thread::sleep_for(500ms);
  for (ChildProcess* copy : {&one, &two})
    if (!copy->IsRunning()) EXPECT_EQ(copy->Finish(1s), 0) << "a copy that ended handed over: " << copy->Stderr();
  EXPECT_TRUE(one.IsRunning() || two.IsRunning());

  EXPECT_EQ(StartAgain({Address("three")}).exitStatus, 0);
  EXPECT_FALSE(AskedAddress("three").empty());
}

// The command line is one address: an argument that looks like one of Qt's options is that
// address, not an option, and the argument after it is ignored like any other.
TEST_F(HandOff, TheFirstArgumentIsTakenAsItWasGiven) {
  StartRunningCopy("first");
  EXPECT_EQ(StartAgain({"-reverse", Address("behind-an-option")}).exitStatus, 0);
  // Hand-offs are handled one after another, so once this one is asked the one before is done.
  ASSERT_FALSE(HandOverUntilAsked("next").empty());
  EXPECT_EQ(Requests("behind-an-option"), 0) << "the address after \"-reverse\" was asked";
}

// Without a runtime folder of the session's, the channel lives in a private folder in the
// temp dir; nothing is made where the missing folder should have been.
TEST_F(HandOff, AMissingRuntimeFolderIsNotMadeUp) {
  m_runtime = m_home + "/gone/run";
  StartRunningCopy("first");
  EXPECT_EQ(StartAgain({Address("handed")}).exitStatus, 0);
  EXPECT_FALSE(AskedAddress("handed").empty());
  EXPECT_FALSE(fs::exists(m_home + "/gone"));
  EXPECT_TRUE(fs::exists(m_home + "/tmp/quorvane-" + std::to_string(getuid()) + "/ExchangeBuffer"));
}

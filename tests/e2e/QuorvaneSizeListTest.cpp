#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "QuorvaneSizeRun.h"
#include "TestServers.h"

namespace {

const std::string kAnswered = "Ответ получен.";
const std::string kNotFound = "Файл не найден!";
const std::string kNoConnection = "Ошибка соединения!";
const std::string kBadAddress = "Неправильный формат адреса!";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string WriteList(const std::string& folder, const std::vector<std::string>& addresses) {
  const std::string path = folder + "/list";
  std::ofstream list(path, std::ios::binary);
  for (const auto& address : addresses) list << address << "\n";
  return path;
}

class QuorvaneSizeList : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_root = MakeTempFolder();
    std::ofstream(s_root + "/f", std::ios::binary) << std::string(12345, 'x');
    s_http = TestServer::Http().release();
    s_https = TestServer::Https().release();
    s_ftp = TestServer::Ftp(s_root).release();
  }
  static void TearDownTestSuite() {
    delete s_http;
    delete s_https;
    delete s_ftp;
    std::filesystem::remove_all(s_root);
  }
  void SetUp() override { m_folder = MakeTempFolder(); }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  static std::string Http(const std::string& path) { return s_http->Url("http", path); }

  static std::string s_root;
  static TestServer* s_http;
  static TestServer* s_https;
  static TestServer* s_ftp;
  std::string m_folder;
};
std::string QuorvaneSizeList::s_root;
TestServer* QuorvaneSizeList::s_http = nullptr;
TestServer* QuorvaneSizeList::s_https = nullptr;
TestServer* QuorvaneSizeList::s_ftp = nullptr;

}  // namespace

// 200 addresses of every kind, the first the slowest of all: each line comes out in the
// order given, with the verdict a single query would give, in text and in JSON.
TEST_F(QuorvaneSizeList, AnswersEveryKindOfAddressInTheOrderGiven) {
  struct Entry {
    std::string address, sizeWithoutHttps, verdictWithoutHttps, sizeWithHttps, verdictWithHttps;
  };
  std::vector<Entry> entries = {{Http("/file/1?delay=1.5"), "1", kAnswered, "1", kAnswered}};
  for (int i = 1; entries.size() < 200; ++i) {
    const std::string n = std::to_string(i);
    const std::string https = s_https->Url("https", "/file/" + n);
    switch (i % 6) {
      case 0: entries.push_back({Http("/file/" + n), n, kAnswered, n, kAnswered}); break;
      case 1: entries.push_back({Http("/missing/" + n), "", kNotFound, "", kNotFound}); break;
      case 2: entries.push_back({"http://127.0.0.1:1/" + n, "", kNoConnection, "", kNoConnection}); break;
      case 3: entries.push_back({"WWW.bad/" + n, "", kBadAddress, "", kBadAddress}); break;
      case 4: entries.push_back({s_ftp->Url("ftp", "/f"), "12345", kAnswered, "12345", kAnswered}); break;
      case 5: entries.push_back({https, "", "", n, kAnswered}); break;
    }
  }
  std::vector<std::string> addresses;
  for (const auto& entry : entries) addresses.push_back(entry.address);
  const std::string list = WriteList(m_folder, addresses);
  const std::vector<std::string> trusted = {"CURL_CA_BUNDLE=" + TestServer::TlsCertificate()};

  struct Case {
    const char* name;
    std::vector<std::string> options;
    bool https, json;
  };
  const Case cases[] = {
      {"https not asked", {}, false, false},
      {"https asked", {"--https"}, true, false},
      {"https asked, as JSON", {"--https", "--json"}, true, true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.insert(arguments.end(), {"--input", list, "--parallel", "16"});
    const auto result = RunSize(arguments, trusted);
    EXPECT_EQ(result.exitStatus, 1) << c.name;
    EXPECT_EQ(result.err, "") << c.name;  // no terminal, so no progress
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), entries.size()) << c.name << ": " << result.err;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const Entry& e = entries[i];
      const std::string& size = c.https ? e.sizeWithHttps : e.sizeWithoutHttps;
      const std::string& verdict = c.https ? e.verdictWithHttps : e.verdictWithoutHttps;
      if (!c.json) {
        EXPECT_EQ(lines[i], size + "\t" + verdict + "\t" + e.address) << c.name << ", line " << i;
        continue;
      }
      const auto line = nlohmann::json::parse(lines[i]);
      EXPECT_EQ(line["address"], e.address) << c.name << ", line " << i;
      EXPECT_EQ(line["size"].is_null() ? "" : std::to_string(line["size"].get<std::uint64_t>()), size) << i;
      EXPECT_EQ(line["verdict"], verdict) << c.name << ", line " << i;
    }
  }
}

// What a script reads: the server's own facts, the address after redirects, and any
// byte of an address as valid JSON (bytes that are no UTF-8 as U+FFFD).
TEST_F(QuorvaneSizeList, JsonTellsWhatTheServerSaid) {
  const std::string file = "/raw/" + Base64Url("HTTP/1.1 200 OK\r\nContent-Length: 42\r\nContent-Type: text/plain\r\n"
                                               "Last-Modified: Wed, 01 May 2024 12:00:00 GMT\r\n"
                                               "Accept-Ranges: bytes\r\n\r\n") + "?close=1";
  const std::string redirect = Http("/redirect/" + Base64Url(Http(file)));
  const auto answered = RunSize({"--json", "--quiet", redirect});
  EXPECT_EQ(answered.exitStatus, 0);
  EXPECT_EQ(answered.err, "");
  const auto line = nlohmann::json::parse(answered.out);
  EXPECT_EQ(line["address"], redirect);
  EXPECT_EQ(line["final_address"], Http(file));
  EXPECT_EQ(line["size"], 42);
  EXPECT_EQ(line["verdict"], kAnswered);
  EXPECT_EQ(line["verdict_id"], 1012);
  EXPECT_EQ(line["outcome"], "size");
  EXPECT_EQ(line["status"], 200);
  EXPECT_EQ(line["content_type"], "text/plain");
  EXPECT_EQ(line["last_modified"], "2024-05-01T12:00:00Z");
  EXPECT_EQ(line["accepts_ranges"], true);

  static const char kOdd[] = "http://127.0.0.1/\"quoted\"\\back\x01\x1f\xff\xfe";
  const std::string odd(kOdd, sizeof kOdd - 1);
  const auto bad = RunSize({"--json", odd, Http("/file/3")});
  EXPECT_EQ(bad.exitStatus, 1);
  const auto lines = Lines(bad.out);
  ASSERT_EQ(lines.size(), 2u);
  const auto oddLine = nlohmann::json::parse(lines[0]);
  EXPECT_EQ(oddLine["address"], "http://127.0.0.1/\"quoted\"\\back\x01\x1f\xef\xbf\xbd\xef\xbf\xbd");
  EXPECT_EQ(oddLine["outcome"], "bad-address");
  EXPECT_EQ(oddLine["verdict_id"], 1002);
  EXPECT_TRUE(oddLine["size"].is_null());
  EXPECT_EQ(nlohmann::json::parse(lines[1])["size"], 3);
}

TEST_F(QuorvaneSizeList, ListsOfEveryShapeGetADefinedAnswer) {
  const std::string overlong = "http://127.0.0.1/" + std::string(70000, 'a');
  const std::string listWithOverlong = WriteList(m_folder, {overlong, Http("/file/3")});
  const std::string empty = m_folder + "/empty";
  std::ofstream(empty).close();
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string out;
  };
  const Case cases[] = {
      {"a line over 64 KiB is a bad address, and the list goes on",
       {"--input", listWithOverlong}, 1,
       "\t" + kBadAddress + "\t" + overlong.substr(0, 65536) + "\n3\t" + kAnswered + "\t" + Http("/file/3") + "\n"},
      {"an empty list", {"--input", empty}, 0, ""},
      {"an empty list's total", {"--input", empty, "--total"}, 0, "0\t0\ttotal\n"},
      {"an empty list's total as JSON", {"--input", empty, "--total", "--json"}, 0,
       "{\"total\":0,\"without_size\":0,\"addresses\":0}\n"},
      {"addresses on the command line and a total, in binary units",
       {"--total", "--human", Http("/file/5000000000"), Http("/nothing"), Http("/file/1024")}, 1,
       "4.66 GiB\t" + kAnswered + "\t" + Http("/file/5000000000") + "\n\t" + kNotFound + "\t" + Http("/nothing") +
           "\n1.00 KiB\t" + kAnswered + "\t" + Http("/file/1024") + "\n4.66 GiB\t1\ttotal\n"},
      {"one address with --total is a list of one", {"--total", Http("/file/7")}, 0,
       "7\t" + kAnswered + "\t" + Http("/file/7") + "\n7\t0\ttotal\n"},
      {"another scheme in a list is no size", {"gopher://127.0.0.1/", Http("/file/1")}, 1,
       "\t\tgopher://127.0.0.1/\n1\t" + kAnswered + "\t" + Http("/file/1") + "\n"},
  };
  for (const Case& c : cases) {
    const auto result = RunSize(c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name;
    EXPECT_EQ(result.out, c.out) << c.name;
    EXPECT_EQ(result.err, "") << c.name;
  }
}

TEST_F(QuorvaneSizeList, AnInputThatCannotBeReadIsABadCommandLine) {
  struct Case {
    std::string path;
    std::string why;
  };
  const Case cases[] = {
      {m_folder, "Is a directory"},
      {m_folder + "/missing", "No such file or directory"},
      {"/proc/self/mem", "Input/output error"},  // opens, but no read succeeds
  };
  for (const Case& c : cases) {
    const auto result = RunSize({"--input", c.path, Http("/file/1")});
    EXPECT_EQ(result.exitStatus, 2) << c.path;
    EXPECT_EQ(result.err, "quorvane-size: " + c.path + ": " + c.why + "\n") << c.path;
    const auto quiet = RunSize({"--quiet", "--input", c.path});
    EXPECT_EQ(quiet.exitStatus, 2) << c.path;
    EXPECT_EQ(quiet.err, "") << c.path;
  }
}

// A FIFO that stays open: each line is answered while the writer still holds it open.
TEST_F(QuorvaneSizeList, AnswersALineOfAnOpenFifoAtOnce) {
  const std::string fifo = m_folder + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  ChildProcess size({QUORVANE_SIZE_EXE, "--input", fifo}, {BuiltInTextsSettings()});
  const int writer = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  for (const std::string n : {"11", "22"}) {
    const std::string address = Http("/file/" + n) + "\n";
    ASSERT_EQ(write(writer, address.data(), address.size()), static_cast<ssize_t>(address.size()));
    EXPECT_EQ(size.ReadLine(std::chrono::seconds(20)), n + "\t" + kAnswered + "\t" + Http("/file/" + n));
  }
  close(writer);
  EXPECT_EQ(size.Finish(std::chrono::seconds(20)), 0);
}

// Ctrl+C or SIGTERM in the middle of a long list: the run ends at once, and what it
// printed is whole lines.
TEST_F(QuorvaneSizeList, ASignalEndsTheRunAtOnceWithWholeLines) {
  std::vector<std::string> arguments = {QUORVANE_SIZE_EXE, "--parallel", "16"};
  for (int i = 0; i < 10; ++i) arguments.push_back(Http("/file/" + std::to_string(i)));
  for (int i = 0; i < 90; ++i) arguments.push_back(Http("/file/1?delay=60"));
  struct Case {
    int signal;
    int exitStatus;
  };
  for (const Case c : {Case{SIGINT, 130}, Case{SIGTERM, 143}}) {
    ChildProcess size(arguments, {BuiltInTextsSettings()});
    for (int i = 0; i < 10; ++i)
      ASSERT_EQ(size.ReadLine(std::chrono::seconds(20)), std::to_string(i) + "\t" + kAnswered + "\t" + arguments[3 + i]);
    const auto sent = std::chrono::steady_clock::now();
    kill(size.Pid(), c.signal);
    EXPECT_EQ(size.Finish(std::chrono::seconds(10)), c.exitStatus);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
    EXPECT_LT(took.count(), QUORVANE_SIGNAL_END_MS) << "signal " << c.signal;
    EXPECT_EQ(Lines(size.Stdout()).size(), 10u);
    EXPECT_TRUE(size.Stdout().ends_with("\n"));
    EXPECT_EQ(size.Stderr(), "");
  }
}

// On a terminal, one line on standard error that keeps being rewritten; the terminal
// here is script(1)'s.
TEST_F(QuorvaneSizeList, ShowsProgressOnATerminalOnly) {
  const std::string command = std::string(QUORVANE_SIZE_EXE) + " " + Http("/file/1") + " " + Http("/nothing");
  const auto terminal = ChildProcess::Run({"script", "-qfec", command, "/dev/null"}, std::chrono::seconds(60),
                                          {BuiltInTextsSettings()});
  EXPECT_EQ(terminal.exitStatus, 1);
  EXPECT_NE(terminal.out.find("\r\033[K2/2 asked, 1 without a size"), std::string::npos) << terminal.out;
  EXPECT_NE(terminal.out.find("1\t" + kAnswered + "\t" + Http("/file/1")), std::string::npos);

  const auto quiet = ChildProcess::Run({"script", "-qfec", command + " --quiet", "/dev/null"},
                                       std::chrono::seconds(60), {BuiltInTextsSettings()});
  EXPECT_EQ(quiet.out.find("asked"), std::string::npos) << quiet.out;
}

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "QuorvaneSizeRun.h"
#include "TestServers.h"

namespace {

class QuorvaneSizeCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_server = TestServer::Http().release(); }
  static void TearDownTestSuite() { delete s_server; }
  static TestServer* s_server;
};
TestServer* QuorvaneSizeCli::s_server = nullptr;

}  // namespace

TEST_F(QuorvaneSizeCli, NarratesOnStderrAndPrintsTheSizeOnStdout) {
  const auto grouped = RunSize({s_server->Url("http", "/file/5000000000")});
  EXPECT_EQ(grouped.exitStatus, 0);
  EXPECT_EQ(grouped.out, "5 000 000 000\n");
  EXPECT_EQ(grouped.err,
            "Установка соединения...\nСоединение установлено. Запрос размера...\nОтвет получен.\n");

  const auto plain = RunSize({"--no-group", s_server->Url("http", "/file/1048576")});
  EXPECT_EQ(plain.exitStatus, 0);
  EXPECT_EQ(plain.out, "1048576\n");
}

TEST_F(QuorvaneSizeCli, ExitStatusTellsWhatHappened) {
  struct Case {
    std::vector<std::string> arguments;
    int exitStatus;
    std::string lastStatusLine;
  };
  const Case cases[] = {
      {{s_server->Url("http", "/nothing")}, 1, "Файл не найден!"},
      {{"http://127.0.0.1:1/"}, 1, "Ошибка соединения!"},
      {{"WWW.example.com"}, 2, "Неправильный формат адреса!"},
      {{""}, 2, "Неправильный формат адреса!"},
      {{"https://127.0.0.1:1/"}, 3, ""},
      {{"--", "--not-an-option"}, 2, "Неправильный формат адреса!"},
      // an encoded control byte matters only where it would become an FTP command
      {{"https://127.0.0.1:1/a%0A"}, 3, ""},
      {{s_server->Url("http", "/a%0Ab")}, 1, "Файл не найден!"},
      {{"ftp://127.0.0.1:1/a%0Ab"}, 2, "Неправильный формат адреса!"},
  };
  for (const auto& c : cases) {
    const auto result = RunSize(c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.arguments.back();
    EXPECT_EQ(result.out, "") << c.arguments.back();
    const std::string expectedErr = c.lastStatusLine.empty() ? "" : c.lastStatusLine + "\n";
    EXPECT_TRUE(result.err.ends_with(expectedErr)) << c.arguments.back() << ": " << result.err;
    if (c.lastStatusLine.empty()) EXPECT_EQ(result.err, "");
  }
}

// An international host name is converted by libcurl from the user's character set;
// curl 7.88 resolves every name under .localhost to loopback itself, so this asks
// 127.0.0.1 and nothing else.
TEST_F(QuorvaneSizeCli, AsksInternationalHostNames) {
  const std::string address = "http://пример.localhost:" + std::to_string(s_server->Port()) + "/file/5";
  const auto result = RunSize({address}, {"LC_ALL=C.UTF-8", "LANG=C.UTF-8"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "5\n");
}

TEST_F(QuorvaneSizeCli, WrongCommandLinesGetTheUsage) {
  const std::vector<std::vector<std::string>> wrong = {
      {}, {"--bogus", "http://x/"}, {"--language"}, {"--input"}, {"--parallel", "0", "http://x/"},
      {"--parallel", "999", "http://x/"}, {"--parallel", "x", "http://x/"}, {"--input", "a", "--input", "b"}};
  for (const auto& arguments : wrong) {
    const auto result = RunSize(arguments);
    EXPECT_EQ(result.exitStatus, 2) << ::testing::PrintToString(arguments);
    EXPECT_NE(result.err.find("Usage: quorvane-size"), std::string::npos);
    EXPECT_EQ(result.out, "");
  }
  // Silence is silence, also for a wrong command line.
  const auto quiet = RunSize({"--quiet", "--parallel", "0", "http://x/"});
  EXPECT_EQ(quiet.exitStatus, 2);
  EXPECT_EQ(quiet.err, "");
  const auto help = RunSize({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("Usage: quorvane-size"), std::string::npos);
}

TEST_F(QuorvaneSizeCli, TakesItsTextsFromALanguageFile) {
  const std::string folder = MakeTempFolder();
  std::ofstream(folder + "/en.lng", std::ios::binary)
      << "1003=Connecting...\r\n1005=Connected.\\nAsking.\r\n1011=Unknown error %d, 100%%!\r\n";
  const auto chunked = RunSize({"--language", folder + "/en.lng",
                                s_server->Url("http", "/raw/" + Base64Url("HTTP/1.1 200 OK\r\n"
                                                                          "Transfer-Encoding: chunked\r\n\r\n")) +
                                    "?close=1"});
  EXPECT_EQ(chunked.exitStatus, 1);
  // One text is one line, even when it holds a line break.
  EXPECT_EQ(chunked.err, "Connecting...\nConnected. Asking.\nUnknown error 200, 100%!\n");

  const auto missing = RunSize({"--language", folder + "/missing.lng", s_server->Url("http", "/file/1")});
  EXPECT_EQ(missing.exitStatus, 0);
  EXPECT_TRUE(missing.err.starts_with("Языковой файл не найден! Language file not found!\nУстановка соединения"))
      << missing.err;
  std::filesystem::remove_all(folder);
}

// https is asked only with --https, like http, and only from a server whose certificate the
// named authority bundle vouches for: any other certificate is a connection failure.
TEST_F(QuorvaneSizeCli, AsksHttpsOnlyWhenToldAndVerifiesTheCertificate) {
  auto secure = TestServer::Https();
  const std::string address = secure->Url("https", "/file/1048576");
  const std::vector<std::string> trusted = {"CURL_CA_BUNDLE=" + TestServer::TlsCertificate()};
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    int exitStatus;
    std::string out, lastStatusLine;
  };
  const Case cases[] = {
      {"with --https", {"--https", address}, trusted, 0, "1 048 576\n", "Ответ получен."},
      {"without it nothing is asked", {address}, trusted, 3, "", ""},
      {"an unknown authority", {"--https", address}, {"CURL_CA_BUNDLE=/etc/ssl/certs/ca-certificates.crt"}, 1, "",
       "Ошибка соединения!"},
  };
  for (const Case& c : cases) {
    const auto result = RunSize(c.arguments, c.environment);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name << ": " << result.err;
    EXPECT_EQ(result.out, c.out) << c.name;
    EXPECT_TRUE(result.err.ends_with(c.lastStatusLine.empty() ? "" : c.lastStatusLine + "\n")) << c.name << ": "
                                                                                                 << result.err;
    if (c.lastStatusLine.empty()) EXPECT_EQ(result.err, "") << c.name;
  }
}

// Without --language the window's language file is used, read from the settings and
// taken from the folder beside the window; --language still has the last word.
TEST_F(QuorvaneSizeCli, SpeaksTheWindowsLanguage) {
  const std::string folder = MakeTempFolder();
  std::ofstream(folder + "/de.lng", std::ios::binary) << "1012=Antwort erhalten.\r\n7=%s (%s Byte)\r\n";
  const std::string address = s_server->Url("http", "/file/5000000000");
  struct Case {
    const char* name;
    std::string languageSetting;  // empty: no settings file at all
    std::vector<std::string> arguments;
    std::string out, err;
  };
  const Case cases[] = {
      {"no settings yet: the window's default, English",
       "", {"--human", address}, "4.66 GiB (5 000 000 000 bytes)\n",
       "Connecting...\nConnected. Asking for the size...\nAnswer received.\n"},
      {"the built-in texts", "<main>", {"--human", address}, "4.66 GiB (5 000 000 000 байт)\n",
       "Установка соединения...\nСоединение установлено. Запрос размера...\nОтвет получен.\n"},
      {"a file the window no longer has: said, then the built-in texts", "QVN_gone.lng", {address},
       "5 000 000 000\n",
       "Языковой файл не найден! Language file not found!\nУстановка соединения...\n"
       "Соединение установлено. Запрос размера...\nОтвет получен.\n"},
      {"--language overrides the setting", "QVN_eng.lng",
       {"--language", folder + "/de.lng", "--human", "--no-group", address}, "4.66 GiB (5000000000 Byte)\n",
       "Установка соединения...\nСоединение установлено. Запрос размера...\nAntwort erhalten.\n"},
  };
  for (const Case& c : cases) {
    const std::string settings = SettingsFolder(c.languageSetting);
    const auto result = RunSize(c.arguments, {"XDG_CONFIG_HOME=" + settings});
    EXPECT_EQ(result.exitStatus, 0) << c.name << ": " << result.err;
    EXPECT_EQ(result.out, c.out) << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
    // Read only: the settings folder holds what it held before.
    EXPECT_EQ(std::filesystem::exists(settings + "/Marrowby/Quorvane.conf"), !c.languageSetting.empty()) << c.name;
    std::filesystem::remove_all(settings);
  }
  std::filesystem::remove_all(folder);
}

TEST_F(QuorvaneSizeCli, TellsItsVersion) {
  const auto result = RunSize({"--version"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "quorvane-size 2.0\n");
  EXPECT_EQ(result.err, "");
}

// --fallback asks a server that streams without a length for its first byte; without it
// (whatever the window's setting) the answer is the unknown-length verdict.
TEST_F(QuorvaneSizeCli, AsksAnotherWayOnlyWithFallback) {
  const std::string address =
      s_server->Url("http", "/ranged/" + Base64Url("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n") + "/" +
                                Base64Url("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-0/5000000000\r\n"
                                          "\r\nx"));
  const std::string settings = MakeTempFolder();
  std::filesystem::create_directories(settings + "/Marrowby");
  std::ofstream(settings + "/Marrowby/Quorvane.conf") << "[Settings]\nLanguageFile=<main>\nAskSizeOtherWays=1\n";
  const std::string opening = "Установка соединения...\nСоединение установлено. Запрос размера...\n";
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string out, err;
  };
  const Case cases[] = {
      {"with --fallback", {"--fallback", address}, 0, "5 000 000 000\n",
       opening + "Размер не сообщён. Запрос другим способом...\nОтвет получен.\n"},
      {"without it, though the window asks other ways", {address}, 1, "", opening + "Неизвестная ошибка! Код: 200.\n"},
      {"in a list", {"--fallback", "--total", address}, 0,
       "5000000000\tОтвет получен.\t" + address + "\n5000000000\t0\ttotal\n", ""},
  };
  for (const Case& c : cases) {
    const auto result = RunSize(c.arguments, {"XDG_CONFIG_HOME=" + settings});
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name;
    EXPECT_EQ(result.out, c.out) << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
  }
  std::filesystem::remove_all(settings);
}

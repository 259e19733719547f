// quorvane-size with proxies from the environment, as a user's shell would set
// them: the loopback proxy of tests/support (CONNECT tunnels and forwarded GETs),
// a TLS server and the FTP server, all on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestServers.h"

namespace {

const std::string kAnswered =
    "Установка соединения...\nСоединение установлено. Запрос размера...\nОтвет получен.\n";

class ProxyQuery : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = MakeTempFolder();
    m_proxy = TestServer::Proxy(ProxyLog());
    // quorvane-size speaks the window's language: these runs select the built-in texts.
    std::filesystem::create_directories(m_folder + "/Marrowby");
    std::ofstream(m_folder + "/Marrowby/Quorvane.conf") << "[Settings]\nLanguageFile=<main>\n";
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }

  std::string ProxyLog() const { return m_folder + "/proxy.log"; }
  std::string ProxyUrl() const { return "http://127.0.0.1:" + std::to_string(m_proxy->Port()); }
  std::string ProxyRequests() const {
    std::ifstream in(ProxyLog());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // The test's own environment says no_proxy=*; each run says which proxies apply.
  // (getenv takes the first of two entries with one name, so a proxy replaces its blank.)
  ChildProcess::Result RunSize(const std::string& address, const std::vector<std::string>& proxies) const {
    std::vector<std::string> environment = proxies;
    for (const char* blank : {"http_proxy=", "https_proxy=", "ftp_proxy=", "all_proxy=", "HTTP_PROXY=",
                              "HTTPS_PROXY=", "FTP_PROXY=", "ALL_PROXY=", "no_proxy=", "NO_PROXY="}) {
      const std::string name(blank);
      bool given = false;
      for (const auto& proxy : proxies) given = given || proxy.starts_with(name);
      if (!given) environment.push_back(name);
    }
    environment.push_back("CURL_CA_BUNDLE=" + TestServer::TlsCertificate());
    environment.push_back("XDG_CONFIG_HOME=" + m_folder);
    return ChildProcess::Run({QUORVANE_SIZE_EXE, address}, std::chrono::seconds(60), environment);
  }

  std::string m_folder;
  std::unique_ptr<TestServer> m_proxy;
};

}  // namespace

// The proxy's "200 Connection established" (with its own Content-Length: 0) is the
// proxy's answer, not the server's: the verdict comes from the TLS server's head.
TEST_F(ProxyQuery, AnHttpAddressThatRedirectsToHttpsThroughTheProxy) {
  auto web = TestServer::Http();
  auto secure = TestServer::Https();
  const std::string target = "https://127.0.0.1:" + std::to_string(secure->Port()) + "/file/77";
  const auto result = RunSize(web->Url("http", "/redirect/" + Base64Url(target)),
                              {"http_proxy=" + ProxyUrl(), "https_proxy=" + ProxyUrl()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "77\n");
  EXPECT_EQ(result.err, kAnswered);
  const std::string requests = ProxyRequests();
  EXPECT_NE(requests.find("GET " + web->Url("http", "/redirect/")), std::string::npos) << requests;
  EXPECT_NE(requests.find("CONNECT 127.0.0.1:" + std::to_string(secure->Port()) + " "), std::string::npos)
      << requests;
}

TEST_F(ProxyQuery, AnHttpRedirectThroughTheProxy) {
  auto web = TestServer::Http();
  const auto result =
      RunSize(web->Url("http", "/redirect/" + Base64Url("/file/4096")), {"http_proxy=" + ProxyUrl()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "4 096\n");
  const std::string requests = ProxyRequests();
  EXPECT_NE(requests.find("GET " + web->Url("http", "/redirect/")), std::string::npos) << requests;
  EXPECT_NE(requests.find("GET " + web->Url("http", "/file/4096")), std::string::npos) << requests;
}

// An HTTP proxy carries FTP as a tunnel: the login runs through CONNECT, and so
// does the listing's data connection (passive there: the server could not reach
// back through the proxy).
TEST_F(ProxyQuery, FtpRunsThroughTheProxysTunnel) {
  const std::string root = m_folder + "/ftp";
  std::filesystem::create_directories(root);
  std::ofstream(root + "/hello.txt") << "hello";
  auto ftp = TestServer::Ftp(root);
  for (const std::string variable : {"ftp_proxy=", "all_proxy="}) {
    const std::size_t before = ProxyRequests().size();  // the proxy keeps its log open: no removing
    const auto result = RunSize(ftp->Url("ftp", "/hello.txt"), {variable + ProxyUrl()});
    EXPECT_EQ(result.exitStatus, 0) << variable << result.err;
    EXPECT_EQ(result.out, "5\n") << variable;
    EXPECT_EQ(result.err, kAnswered) << variable;
    const std::string requests = ProxyRequests().substr(before);
    const std::string control = "CONNECT 127.0.0.1:" + std::to_string(ftp->Port()) + " ";
    const auto first = requests.find(control);
    EXPECT_NE(first, std::string::npos) << variable << requests;
    EXPECT_NE(requests.find("CONNECT 127.0.0.1:", first + control.size()), std::string::npos)
        << variable << ": the data connection goes through the proxy too\n"
        << requests;
  }
}

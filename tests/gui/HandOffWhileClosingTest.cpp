#include <gtest/gtest.h>

#include <QMetaMethod>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLineEdit>
#include <QLocalSocket>
#include <QTest>

#include <filesystem>
#include <cstdio>
#include <future>
#include <optional>

#include "Eventually.h"
#include "TestServers.h"
#include "TestServices.h"
#include "handoff/HandOffWire.h"
#include "handoff/InstanceChannel.h"
#include "handoff/InstanceChannelPath.h"
#include "mainwindow/CMainDialog.h"

using namespace std::chrono_literals;

namespace {

// Claims the channel, as a start does, and serves it.
bool Claimed(InstanceChannel& channel) {
  std::optional<ChannelClaim> claim = ChannelClaim::Take();
  return claim && channel.Serve(std::move(*claim));
}

// A window serving hand-offs over a channel in a runtime folder of the test's own.
class HandOffWhileClosing : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime = MakeTempFolder();
    std::filesystem::permissions(m_runtime, std::filesystem::perms::owner_all);
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_runtime));
    TestServices::Get().Languages().LoadLanguageFile("<main>", true);
    ASSERT_TRUE(Claimed(m_channel));
    m_channel.ServeUntil(m_dialog, QMetaMethod::fromSignal(&QDialog::finished),
                         [this](const auto& message) { m_dialog.OnExchangeNotify(message); });
    m_dialog.show();
  }
  void TearDown() override {
    m_channel.Close();
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    std::filesystem::remove_all(m_runtime);
  }

  // A second copy's hand-off as it goes over the wire, on a thread of its own while this one
  // serves the window. Plain sockets there: Qt's objects stay on the thread that runs Qt.
  // Gives the running copy's answer, or nothing when no copy listens or none answers.
  std::optional<char> HandOff(const std::string& address) {
    const std::string path = InstanceChannelPath();
    auto reply = std::async(std::launch::async, [path, address]() -> std::optional<char> {
      const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un where{};
      where.sun_family = AF_UNIX;
      std::snprintf(where.sun_path, sizeof where.sun_path, "%s", path.c_str());
      std::optional<char> answer;
      if (connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0) {
        const std::uint32_t length = htonl(static_cast<std::uint32_t>(address.size()));
        std::string frames(1, HandOffWire::kMessage);
        frames.append(reinterpret_cast<const char*>(&length), HandOffWire::kLengthBytes);
        frames += address;
        frames += HandOffWire::kNotify;
        pollfd readable{fd, POLLIN, 0};
        char byte = 0;
        if (write(fd, frames.data(), frames.size()) == static_cast<ssize_t>(frames.size()) &&
            poll(&readable, 1, 5000) == 1 && read(fd, &byte, 1) == 1)
          answer = byte;
      }
      close(fd);
      return answer;
    });
    while (reply.wait_for(10ms) != std::future_status::ready) QCoreApplication::processEvents();
    return reply.get();
  }

  std::string m_runtime;
  QByteArray m_savedRuntime;
  TestServices* m_app = &TestServices::Get();
  InstanceChannel m_channel;
  CMainDialog m_dialog{m_app->Settings, m_app->Profile(), m_app->Texts(), m_app->Queries()};
};

}  // namespace

TEST_F(HandOffWhileClosing, AnOpenWindowTakesTheHandOff) {
  EXPECT_EQ(HandOff("WWW.not-an-address"), HandOffWire::kAcknowledged);
  EXPECT_EQ(m_dialog.Address(), "WWW.not-an-address");
}

TEST_F(HandOffWhileClosing, AClosedWindowTakesNoneAndFreesTheChannel) {
  m_dialog.reject();
  EXPECT_EQ(HandOff("WWW.after-close"), std::nullopt) << "nobody listens: a later copy runs its own window";
  EXPECT_NE(m_dialog.Address(), "WWW.after-close");
  InstanceChannel next;
  EXPECT_TRUE(Claimed(next)) << "the next copy can own the channel";
}

TEST_F(HandOffWhileClosing, ASenderHalfwayThroughIsToldToRunOnItsOwn) {
  QLocalSocket sender;
  sender.connectToServer(QString::fromStdString(InstanceChannelPath()));
  ASSERT_TRUE(sender.waitForConnected(2000));
  sender.write(QByteArray(1, HandOffWire::kMessage));  // half a frame, then the window closes
  sender.flush();
  QTest::qWait(100);
  m_dialog.reject();
  EXPECT_TRUE(Eventually([&] { return sender.bytesAvailable() > 0 || sender.waitForReadyRead(10); }, 2s));
  EXPECT_EQ(sender.read(1), QByteArray(1, HandOffWire::kRefused));
}

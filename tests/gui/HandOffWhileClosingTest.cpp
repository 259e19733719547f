#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocalSocket>
#include <QTest>

#include <filesystem>
#include <future>

#include "Eventually.h"
#include "TestServers.h"
#include "app/CMainApp.h"
#include "desktop/HandOffWire.h"
#include "desktop/InstanceChannel.h"
#include "desktop/InstanceHandOff.h"
#include "mainwindow/CMainDialog.h"

using namespace std::chrono_literals;

namespace {

// A window serving hand-offs over a channel in a runtime folder of the test's own.
class HandOffWhileClosing : public ::testing::Test {
 protected:
  void SetUp() override {
    m_runtime = MakeTempFolder();
    std::filesystem::permissions(m_runtime, std::filesystem::perms::owner_all);
    m_savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(m_runtime));
    CMainApp::Current()->Languages().LoadLanguageFile("<main>", true);
    ASSERT_TRUE(m_channel.Create());
    CMainApp::ServeHandOffs(m_dialog, m_channel);
    m_dialog.show();
  }
  void TearDown() override {
    m_channel.Close();
    qputenv("XDG_RUNTIME_DIR", m_savedRuntime);
    std::filesystem::remove_all(m_runtime);
  }

  // A second copy's hand-off, made on a thread of its own while this one serves the window.
  HandOffResult HandOff(const QByteArray& address) {
    auto result = std::async(std::launch::async, [address] { return HandOffToRunningCopy(address, 5000); });
    while (result.wait_for(10ms) != std::future_status::ready) QCoreApplication::processEvents();
    return result.get();
  }

  std::string m_runtime;
  QByteArray m_savedRuntime;
  CMainApp* m_app = CMainApp::Current();
  InstanceChannel m_channel;
  CMainDialog m_dialog{m_app->Settings, m_app->Profile()};
};

}  // namespace

TEST_F(HandOffWhileClosing, AnOpenWindowTakesTheHandOff) {
  EXPECT_EQ(HandOff("WWW.not-an-address"), HandOffResult::HandedOver);
  EXPECT_EQ(m_dialog.Address(), "WWW.not-an-address");
}

TEST_F(HandOffWhileClosing, AClosedWindowTakesNoneAndFreesTheChannel) {
  m_dialog.reject();
  EXPECT_EQ(HandOff("WWW.after-close"), HandOffResult::NoRunningCopy) << "a later copy runs its own window";
  EXPECT_NE(m_dialog.Address(), "WWW.after-close");
  InstanceChannel next;
  EXPECT_TRUE(next.Create()) << "the next copy can own the channel";
}

TEST_F(HandOffWhileClosing, ASenderHalfwayThroughIsToldToRunOnItsOwn) {
  QLocalSocket sender;
  sender.connectToServer(InstanceChannel::SocketPath());
  ASSERT_TRUE(sender.waitForConnected(2000));
  sender.write(QByteArray(1, HandOffWire::kMessage));  // half a frame, then the window closes
  sender.flush();
  QTest::qWait(100);
  m_dialog.reject();
  EXPECT_TRUE(Eventually([&] { return sender.bytesAvailable() > 0 || sender.waitForReadyRead(10); }, 2s));
  EXPECT_EQ(sender.read(1), QByteArray(1, HandOffWire::kRefused));
}

#pragma once

#include <QDeadlineTimer>
#include <QTest>

#include <chrono>

// Lets the event loop run until `condition` holds, at most `timeout`; gives whether it did.
// (QTest's QTRY_ macros report to QTest, not to gtest: inside a gtest test a failing one
// returns quietly and the test passes.)
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
  const QDeadlineTimer deadline(timeout);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

#pragma once

#include <functional>
#include <thread>
#include <vector>

// Work the window will need on its first clipboard copy, done on a thread of its own once
// the window stands, so that the copy does not wait for it on the UI thread: loading the
// network code (libcurl and its library tree; libcurl's global start waits for the first
// query) and running its address rule once, so that its code is mapped and bound, and the
// image-format plugins that Qt's clipboard asks about before it hands over any text.
class BackgroundWarmUp {
 public:
  BackgroundWarmUp() = default;
  // Waits for the work to end: it touches what its owner owns.
  ~BackgroundWarmUp();
  BackgroundWarmUp(const BackgroundWarmUp&) = delete;
  BackgroundWarmUp& operator=(const BackgroundWarmUp&) = delete;

  // Runs `tasks` one after another on the thread; once only.
  void Start(std::vector<std::function<void()>> tasks);

 private:
  std::thread m_thread;
};

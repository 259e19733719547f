#include "app/BackgroundWarmUp.h"

BackgroundWarmUp::~BackgroundWarmUp() {
  if (m_thread.joinable()) m_thread.join();
}

void BackgroundWarmUp::Start(std::vector<std::function<void()>> tasks) {
  if (m_thread.joinable()) return;
  m_thread = std::thread([tasks = std::move(tasks)] {
    for (const auto& task : tasks) task();
  });
}

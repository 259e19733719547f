#include "XvfbDisplay.h"

#include <stdexcept>

XvfbDisplay::XvfbDisplay()
    // -displayfd picks a free display and tells us which: no races between test runs.
    : m_server({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"}) {
  const std::string number = m_server.ReadLine(std::chrono::seconds(20));
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  m_name = ":" + number;
}

ChildProcess::Result XvfbDisplay::Run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) const {
  return ChildProcess::Run(argv, timeout, {"DISPLAY=" + m_name});
}

#pragma once

#include <memory>
#include <string>

#include "ChildProcess.h"

// A private X server for real-window tests, gone with the test.
class XvfbDisplay {
 public:
  XvfbDisplay();
  ~XvfbDisplay() { m_server.Terminate(); }
  // ":N", for DISPLAY.
  const std::string& Name() const { return m_name; }
  // Runs an X client (xdotool, xclip) against this display.
  ChildProcess::Result Run(const std::vector<std::string>& argv,
                           std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

 private:
  ChildProcess m_server;
  std::string m_name;
};

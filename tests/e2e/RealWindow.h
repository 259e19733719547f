#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "XvfbDisplay.h"

// The real program in a real X server, driven and read the way a user would:
// keys through xdotool, the size box's text through the clipboard.
class RealWindow {
 public:
  // `settings`: lines for the [Settings] group of a private settings file.
  // `program`: the executable to start, the build's own unless another is named.
  RealWindow(const XvfbDisplay& display, const std::vector<std::string>& arguments, const std::string& settings = "",
             const std::string& program = QUORVANE_EXE);
  ~RealWindow();

  // Waits for a window whose title matches and gives its X id, or "".
  // Asks again rather than using xdotool's --sync: a search fails outright (BadWindow) when
  // another window, such as a message box, goes away while it looks.
  std::string WindowId(const std::string& title = "^Quorvane 2\\.0$");
  void Keys(const std::string& window, const std::vector<std::string>& keys);
  // Copies the size box's text to the clipboard and reads it back.
  std::string SizeText(const std::string& window);
  // Reads the size box until it says `expected` (at most about 5 s); gives what it said last.
  std::string WaitForSizeText(const std::string& window, const std::string& expected);

  ChildProcess& Program() { return m_program; }
  const std::string& Home() const { return m_home; }

  // What a failing test shows: whether the program still ran, the X server's windows, and
  // everything the program wrote to stderr (it is ended for that).
  std::string Diagnosis();

 private:
  static std::string WithSettings(const std::string& settings);
  std::vector<std::string> Environment() const;

  const XvfbDisplay& m_display;
  std::string m_home;
  ChildProcess m_program;
};

#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TestServers.h"

#ifndef QUORVANE_TEST_SUPPORT_DIR
#error "QUORVANE_TEST_SUPPORT_DIR must name tests/support"
#endif

// A desktop made for one test: a folder of programs standing in for the desktop's own
// (xdg-open, xdg-mime, a browser) that record how they were called, and the data folders
// where desktop entries are looked up. Nothing of the machine's own desktop takes part.
class FakeDesktop {
 public:
  FakeDesktop() : m_root(MakeTempFolder()) {
    for (const char* folder : {"bin", "data/applications", "nodata", "calls", "exit-status"})
      std::filesystem::create_directories(m_root + "/" + folder);
  }
  ~FakeDesktop() { std::filesystem::remove_all(m_root); }
  FakeDesktop(const FakeDesktop&) = delete;
  FakeDesktop& operator=(const FakeDesktop&) = delete;

  // A program `name` in Bin() that only records its calls and then ends with `exitStatus`
  // ("0", "4", …), or never ends ("stall").
  void AddRecorder(const std::string& name, const std::string& exitStatus = "0") {
    Link("fake-opener", name);
    std::ofstream(m_root + "/exit-status/" + name) << exitStatus << "\n";
  }
  // xdg-mime in Bin(), answering what Environment() was given.
  void AddXdgMime() { Link("fake-xdg-mime", "xdg-mime"); }
  void WriteDesktopEntry(const std::string& id, const std::string& text) const {
    std::ofstream(m_root + "/data/applications/" + id, std::ios::binary) << text;
  }

  const std::string& Root() const { return m_root; }
  std::string Bin() const { return m_root + "/bin"; }
  std::string Applications() const { return m_root + "/data/applications"; }

  // What a program needs to see only this desktop: its PATH holds Bin() alone; no browser
  // or desktop is named to Qt; desktop entries come from this desktop's data folder only.
  std::vector<std::string> Environment(const std::string& htmlHandler = "") const {
    return {"PATH=" + Bin(),
            "XDG_DATA_HOME=" + m_root + "/data",
            "XDG_DATA_DIRS=" + m_root + "/nodata",
            "QUORVANE_TEST_CALLS=" + m_root + "/calls",
            "QUORVANE_TEST_EXIT_STATUS=" + m_root + "/exit-status",
            "QUORVANE_TEST_HTML_HANDLER=" + htmlHandler,
            "BROWSER=",
            "DEFAULT_BROWSER=",
            "XDG_CURRENT_DESKTOP=",
            "DESKTOP_SESSION=",
            "KDE_FULL_SESSION=",
            "GNOME_DESKTOP_SESSION_ID="};
  }

  // Every call recorded so far, each as its program's name and then its arguments.
  std::vector<std::vector<std::string>> Calls() const {
    std::vector<std::vector<std::string>> calls;
    for (const auto& file : std::filesystem::directory_iterator(m_root + "/calls")) {
      std::ifstream in(file.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, std::string("\0\n", 2)) != 0) continue;  // being written
      std::vector<std::string> words;
      std::size_t start = 0;
      for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos && end < bytes.size() - 1;
           start = end + 1)
        words.push_back(bytes.substr(start, end - start));
      calls.push_back(words);
    }
    std::sort(calls.begin(), calls.end());
    return calls;
  }

 private:
  void Link(const std::string& script, const std::string& name) const {
    std::filesystem::create_symlink(std::string(QUORVANE_TEST_SUPPORT_DIR) + "/" + script, Bin() + "/" + name);
  }

  std::string m_root;
};

#pragma once

#include <cstdint>
#include <string>

// The one updating line on a terminal's standard error that tells how far a list has
// come: "37/100 asked, 2 without a size". It is drawn only when it is on (standard
// error is a terminal and not silenced) and the list holds more than one address.
// Not thread-safe: its owner calls it under its own lock.
class ProgressLine {
 public:
  explicit ProgressLine(bool on) : m_on(on) {}

  void Show(std::uint64_t asked, std::uint64_t given, std::uint64_t withoutSize);
  // Takes the line away, so that a line written to a terminal's standard output
  // starts clean; Restore draws it again.
  void Hide();
  void Restore();

 private:
  void Write(const std::string& text);

  bool m_on;
  bool m_drawn = false;
  std::string m_text;
};

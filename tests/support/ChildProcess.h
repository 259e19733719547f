#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

// A program the tests start: its stdin stays an open pipe (the test servers end
// when it closes), stdout and stderr are captured.
class ChildProcess {
 public:
  // `environment` holds "NAME=value" entries that replace or add to this process's own.
  explicit ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // One line of stdout (without its "\n"); empty once the timeout passes or stdout ends.
  std::string ReadLine(std::chrono::milliseconds timeout);
  // Closes stdin, waits for the end and collects the rest of the output.
  // Returns the exit status, or -1 when the process had to be killed.
  int Finish(std::chrono::milliseconds timeout);
  void Terminate();
  pid_t Pid() const { return m_pid; }
  bool IsRunning();

  const std::string& Stdout() const { return m_stdout; }
  const std::string& Stderr() const { return m_stderr; }

  struct Result {
    int exitStatus;
    std::string out;
    std::string err;
  };
  // Runs a program to its end with empty stdin.
  static Result Run(const std::vector<std::string>& argv,
                    std::chrono::milliseconds timeout = std::chrono::seconds(120),
                    const std::vector<std::string>& environment = {});

 private:
  void Drain(std::chrono::milliseconds timeout);

  pid_t m_pid = -1;  // -1 once the process has been reaped
  int m_exitStatus = -1;
  int m_in = -1;
  int m_out = -1;
  int m_err = -1;
  std::string m_stdout;
  std::string m_stderr;
  std::size_t m_lineStart = 0;
};

#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const auto& override : overrides) replaced = replaced || override.substr(0, override.find('=')) == name;
    if (!replaced) merged.push_back(text);
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC))
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const std::vector<std::string> merged = MergedEnvironment(environment);
  std::vector<char*> env;
  for (const auto& entry : merged) env.push_back(const_cast<char*>(entry.c_str()));
  env.push_back(nullptr);
  const int failed = posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  m_in = in[1];
  m_out = out[0];
  m_err = err[0];
  if (failed) throw std::runtime_error("cannot start " + argv[0]);
}

ChildProcess::~ChildProcess() {
  Terminate();
  if (m_pid > 0) Finish(std::chrono::seconds(5));
  CloseFd(m_out);
  CloseFd(m_err);
}

// Reads whatever is ready on stdout and stderr until `done` says so, both end, or time runs out.
template <typename Done>
static void Pump(int& out, int& err, std::string& outText, std::string& errText,
                 std::chrono::milliseconds timeout, Done done) {
  const auto deadline = Clock::now() + timeout;
  while ((out >= 0 || err >= 0) && !done()) {
    pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
    if (poll(fds, 2, RemainingMs(deadline)) <= 0) return;
    for (int i = 0; i < 2; ++i) {
      if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      int& fd = i == 0 ? out : err;
      const ssize_t got = read(fd, buffer, sizeof buffer);
      if (got <= 0)
        CloseFd(fd);
      else
        (i == 0 ? outText : errText).append(buffer, static_cast<std::size_t>(got));
    }
  }
}

void ChildProcess::Drain(std::chrono::milliseconds timeout) {
  Pump(m_out, m_err, m_stdout, m_stderr, timeout, [] { return false; });
}

std::string ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  Pump(m_out, m_err, m_stdout, m_stderr, timeout,
       [this] { return m_stdout.find('\n', m_lineStart) != std::string::npos; });
  const auto end = m_stdout.find('\n', m_lineStart);
  if (end == std::string::npos) return {};
  std::string line = m_stdout.substr(m_lineStart, end - m_lineStart);
  m_lineStart = end + 1;
  return line;
}

int ChildProcess::Finish(std::chrono::milliseconds timeout) {
  CloseFd(m_in);
  Drain(timeout);
  if (m_pid <= 0) return m_exitStatus;  // already reaped: never wait for or signal "any process"
  int status = 0;
  const auto deadline = Clock::now() + timeout;
  pid_t done = 0;
  while ((done = waitpid(m_pid, &status, WNOHANG)) == 0 && RemainingMs(deadline) > 0) usleep(10000);
  if (done == 0 && m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, &status, 0);
    m_pid = -1;
    return -1;
  }
  m_pid = -1;
  m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return m_exitStatus;
}

bool ChildProcess::IsRunning() {
  if (m_pid <= 0) return false;
  int status = 0;
  if (waitpid(m_pid, &status, WNOHANG) != m_pid) return true;
  m_pid = -1;
  m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return false;
}

void ChildProcess::Terminate() {
  if (m_pid > 0) kill(m_pid, SIGTERM);
}

ChildProcess::Result ChildProcess::Run(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                                       const std::vector<std::string>& environment) {
  ChildProcess child(argv, environment);
  const int status = child.Finish(timeout);
  return {status, child.Stdout(), child.Stderr()};
}

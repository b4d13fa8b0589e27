#include "tests/cli/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace mv::testing {
namespace {

std::vector<std::string> ChildEnvironment(const EnvironmentChanges& changes) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (!changes.count(text.substr(0, text.find('=')))) entries.push_back(text);
  }
  for (const auto& [name, value] : changes) {
    if (value) entries.push_back(name + "=" + *value);
  }
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void Check(int result, const char* what) {
  if (result != 0) throw std::runtime_error(std::string(what) + " failed");
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const EnvironmentChanges& environment) {
  std::array<int, 2> out{};
  std::array<int, 2> err{};
  Check(::pipe2(out.data(), O_CLOEXEC), "pipe");
  Check(::pipe2(err.data(), O_CLOEXEC), "pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp = ChildEnvironment(environment);
  const int spawned = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr,
                                    Pointers(argv).data(), Pointers(envp).data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  out_ = out[0];
  err_ = err[0];
  Check(spawned, "posix_spawn");
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (out_ >= 0) ::close(out_);
  if (err_ >= 0) ::close(err_);
}

bool ChildProcess::ReadSome() {
  std::array<pollfd, 2> streams{{{out_, POLLIN, 0}, {err_, POLLIN, 0}}};
  if (out_ < 0 && err_ < 0) return false;
  if (::poll(streams.data(), streams.size(), -1) < 0 && errno != EINTR) return false;
  std::array<std::pair<int*, std::string*>, 2> targets{
      {{&out_, &result_.out}, {&err_, &result_.err}}};
  for (size_t i = 0; i < streams.size(); ++i) {
    if (*targets[i].first < 0 || streams[i].revents == 0) continue;
    char buffer[4096];
    const ssize_t got = ::read(*targets[i].first, buffer, sizeof buffer);
    if (got > 0) {
      targets[i].second->append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      ::close(*targets[i].first);
      *targets[i].first = -1;
    }
  }
  return true;
}

bool ChildProcess::WaitForOutput(const std::string& text) {
  while (result_.out.find(text) == std::string::npos) {
    if (out_ < 0 || !ReadSome()) return false;
  }
  return true;
}

void ChildProcess::Signal(int signal) { ::kill(pid_, signal); }

ChildResult ChildProcess::Finish() {
  while (ReadSome()) {
  }
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  result_.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result_;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& environment) {
  return ChildProcess(program, arguments, environment).Finish();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace mv::testing

// Child processes on POSIX systems: posix_spawn and waitpid.
#include "tests/cli/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/support/recording_message_display.h"

extern char** environ;

namespace mv::testing {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const EnvironmentChanges& environment) {
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envp;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (!environment.count(text.substr(0, text.find('=')))) envp.push_back(text);
  }
  for (const auto& [name, value] : environment) {
    if (value) envp.push_back(name + "=" + *value);
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  for (const auto& [stream, name] : {std::pair{STDOUT_FILENO, "out"}, {STDERR_FILENO, "err"}}) {
    posix_spawn_file_actions_addopen(&actions, stream, folder_.File(name).c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  // An interrupt reaches the child even when this test was started with interrupts ignored.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  posix_spawnattr_setsigdefault(&attributes, &interrupt);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  const int failed = ::posix_spawn(&pid_, program.c_str(), &actions, &attributes,
                                   Pointers(argv).data(), Pointers(envp).data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed) throw std::runtime_error("cannot start " + program);
}

ChildProcess::~ChildProcess() {
  if (status_ >= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

bool ChildProcess::WaitForOutput(const std::string& text) {
  const auto written = [&] { return OutputHolds(folder_.File("out"), text); };
  for (int status = 0; !written(); std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
    if (status_ >= 0) return false;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
  }
  return true;
}

bool ChildProcess::Interrupt() { return Signal(SIGINT); }

bool ChildProcess::Signal(int number) { return ::kill(pid_, number) == 0; }

ChildResult ChildProcess::Finish() {
  if (status_ < 0) ::waitpid(pid_, &status_, 0);
  return {WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_),
          ReadFileBytes(folder_.File("out")), ReadFileBytes(folder_.File("err"))};
}

}  // namespace mv::testing

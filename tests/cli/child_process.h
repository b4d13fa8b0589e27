// A program run as a child process, as a script would run it: standard input from /dev/null,
// standard output and standard error read through pipes.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mv::testing {

/// What the child wrote and how it ended: its exit status, or 128 + the signal that ended it.
struct ChildResult {
  int status = -1;
  std::string out;
  std::string err;
};

/// Changes to this process's environment for the child: a value, or nullopt to remove it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const EnvironmentChanges& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  /// Reads until standard output holds `text`; false when the child closed it first.
  bool WaitForOutput(const std::string& text);
  void Signal(int signal);
  /// Reads both streams to their end and waits for the child to end.
  ChildResult Finish();

 private:
  /// Reads what is there to read, waiting for it; false when both streams are closed.
  bool ReadSome();

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  ChildResult result_;
};

/// Runs the program to its end.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& environment = {});

/// The lines of a text, without their line ends ("\n" or "\r\n").
std::vector<std::string> Lines(const std::string& text);

}  // namespace mv::testing

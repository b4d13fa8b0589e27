// A program run as a child process, as a script would run it: standard input from /dev/null,
// standard output and standard error into files.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/test_database.h"

namespace mv::testing {

/// How the child ended (its exit status, or 128 + the signal that ended it) and what it wrote.
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

  /// Waits until standard output holds `text`; false when the child ended without it.
  bool WaitForOutput(const std::string& text);
  void Signal(int signal);
  /// Waits for the child to end.
  ChildResult Finish();

 private:
  TempFolder folder_;
  pid_t pid_ = -1;
  int status_ = -1;
};

/// Runs the program to its end.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& environment = {});

/// The lines of a text, without their line ends ("\n" or "\r\n").
std::vector<std::string> Lines(const std::string& text);

}  // namespace mv::testing

// A program run as a child process, as a script would run it: standard input from the null
// device, standard output and standard error into files.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/test_database.h"

namespace mv::testing {

/// How the child ended (its exit status, or 128 + the signal that ended it) and what it wrote.
/// On Windows a child's text output ends its lines with CR LF.
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

  /// Waits until standard output holds `text` (whatever the line ends); false when the child
  /// ended without it.
  bool WaitForOutput(const std::string& text);
  /// Interrupts the child as Ctrl-C on its terminal would (on Windows: Ctrl-Break to its
  /// process group, the console event that reaches another process). False when the system
  /// could not send it.
  bool Interrupt();
#ifndef _WIN32
  /// Sends the signal `number` to the child; false when it cannot be sent.
  bool Signal(int number);
#endif
  /// Waits for the child to end.
  ChildResult Finish();

 private:
  TempFolder folder_;
#ifdef _WIN32
  void* process_ = nullptr;
  unsigned long processId_ = 0;
#else
  int pid_ = -1;
#endif
  int status_ = -1;
};

/// Runs the program to its end.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& environment = {});

/// True when the file holds `text`, its CR LF line ends read as LF.
bool OutputHolds(const std::string& file, const std::string& text);

/// The lines of a text, without their line ends ("\n" or "\r\n").
std::vector<std::string> Lines(const std::string& text);

}  // namespace mv::testing

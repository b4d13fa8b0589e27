// The terminal a command-line program runs in: whether its standard streams reach one, a
// password read without echo, and the operator's interrupt (Ctrl-C) as a request to stop.
#pragma once

#include <string>
#include <vector>

namespace mv {

/// The program's arguments after its name, as UTF-8. On Windows they are read from the wide
/// command line, since `argv` holds them in the ANSI code page, which lacks most characters.
std::vector<std::string> ProgramArguments(int argc, char** argv);

/// While it lives, a console shows the program's UTF-8 output as such: on Windows the console's
/// output code page is UTF-8 and the previous one comes back afterwards; elsewhere the terminal
/// already takes the locale's UTF-8.
class Utf8ConsoleOutput {
 public:
  Utf8ConsoleOutput();
  ~Utf8ConsoleOutput();
  Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

 private:
  unsigned previousCodePage_ = 0;
};

enum class StandardStream { Input, Output, Error };

/// True when the stream is connected to a terminal (a console on Windows).
bool IsTerminal(StandardStream stream);

/// The width in columns of the terminal the output stream `stream` is connected to; 0 when it
/// is none or does not say.
int TerminalColumns(StandardStream stream);

/// Writes `prompt` on standard error and reads one line from standard input with the echo of
/// the terminal turned off, restoring it afterwards; the line without its end, "" at the end
/// of the input. An interrupt while it waits restores the echo, then ends the program as the
/// interrupt would.
std::string ReadHiddenLine(const std::string& prompt);

/// While it lives, the first interrupt from the terminal does not end the program but calls
/// `onInterrupt` (which asks the run to stop) and then writes `notice` on standard error at
/// once; a second one ends the program at once with exit status 130. One watch at a time.
/// `onInterrupt` runs inside a signal handler, so it may only do what is safe there (a
/// lock-free atomic store, the cancel of odbc::CancelRunningStatements). On POSIX systems
/// SIGTERM and SIGHUP are interrupts too.
/// On Windows, Ctrl-C and Ctrl-Break are interrupts, and so is closing the console window:
/// then the system ends the program a few seconds later, and the handler holds that end
/// back until the watch ends (the run has logged its stop) or about four seconds have passed.
class InterruptWatch {
 public:
  InterruptWatch(std::string notice, void (*onInterrupt)());
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;
};

}  // namespace mv

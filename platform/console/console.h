// The terminal a command-line program runs in: whether its standard streams reach one, a
// password read without echo, and the operator's interrupt (Ctrl-C) as a request to stop.
#pragma once

#include <string>

namespace mv {

enum class StandardStream { Input, Output, Error };

/// True when the stream is connected to a terminal (a console on Windows).
bool IsTerminal(StandardStream stream);

/// Writes `prompt` on standard error and reads one line from standard input with the echo of
/// the terminal turned off, restoring it afterwards; the line without its end, "" at the end
/// of the input. An interrupt while it waits restores the echo, then ends the program as the
/// interrupt would.
std::string ReadHiddenLine(const std::string& prompt);

/// While it lives, the first interrupt from the terminal does not end the program but makes
/// Requested() true, writes `notice` on standard error at once and cancels the database call
/// running at that moment; a second one ends the program as usual. One watch at a time.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::string notice);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  /// True once the operator interrupted; safe to ask from any thread.
  bool Requested() const;
};

}  // namespace mv

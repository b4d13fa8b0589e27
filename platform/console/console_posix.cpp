// The terminal on POSIX systems: isatty, termios, and SIGINT, SIGTERM and SIGHUP.
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <string_view>
#include <utility>

#include "platform/console/console.h"

namespace mv {
namespace {

std::atomic<bool> interrupted{false};
std::string interruptNotice;
void (*interruptAction)() = nullptr;
volatile sig_atomic_t caughtWhileReading = 0;

// The requests to stop: Ctrl-C, a service manager or kill stopping the job, a closed terminal
// or SSH session.
constexpr std::array<int, 3> kStopSignals{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kStopSignals.size()> previousActions{};

// The exit status of a run ended at once by a second request.
constexpr int kEndedAtOnce = 130;

void WriteAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text.remove_prefix(static_cast<size_t>(written));
  }
}

extern "C" void NoteInterrupt(int) {
  if (interrupted.exchange(true)) ::_exit(kEndedAtOnce);
  const int savedErrno = errno;
  interruptAction();
  WriteAll(STDERR_FILENO, interruptNotice);
  errno = savedErrno;
}
extern "C" void NoteInterruptWhileReading(int signal) { caughtWhileReading = signal; }

// A program started with interrupts ignored (a background job of a script) keeps ignoring them.
bool Ignored(const struct sigaction& action) {
  return (action.sa_flags & SA_SIGINFO) == 0 && action.sa_handler == SIG_IGN;
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

Utf8ConsoleOutput::Utf8ConsoleOutput() = default;
Utf8ConsoleOutput::~Utf8ConsoleOutput() = default;

bool IsTerminal(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return ::isatty(STDIN_FILENO) == 1;
    case StandardStream::Output:
      return ::isatty(STDOUT_FILENO) == 1;
    case StandardStream::Error:
      return ::isatty(STDERR_FILENO) == 1;
  }
  return false;
}

int TerminalColumns(StandardStream stream) {
  const int descriptor = stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO;
  struct winsize size {};
  if (::ioctl(descriptor, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

std::string ReadHiddenLine(const std::string& prompt) {
  WriteAll(STDERR_FILENO, prompt);
  // An interrupt must not leave the terminal without echo: it stops the read (no restart),
  // the echo comes back, and then the interrupt takes its usual course.
  struct sigaction reading {};
  reading.sa_handler = NoteInterruptWhileReading;
  sigemptyset(&reading.sa_mask);
  struct sigaction before {};
  caughtWhileReading = 0;
  ::sigaction(SIGINT, nullptr, &before);
  if (!Ignored(before)) ::sigaction(SIGINT, &reading, nullptr);

  termios saved{};
  const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string line;
  char c = 0;
  while (caughtWhileReading == 0) {
    const ssize_t got = ::read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') break;
    line += c;
  }
  if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  WriteAll(STDERR_FILENO, "\n");
  ::sigaction(SIGINT, &before, nullptr);
  if (caughtWhileReading != 0) ::raise(caughtWhileReading);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

InterruptWatch::InterruptWatch(std::string notice, void (*onInterrupt)()) {
  interrupted.store(false);
  interruptNotice = std::move(notice);
  interruptAction = onInterrupt;
  struct sigaction watching {};
  watching.sa_handler = NoteInterrupt;
  sigemptyset(&watching.sa_mask);
  for (const int signal : kStopSignals) sigaddset(&watching.sa_mask, signal);
  // Interrupted system calls resume: a database call in progress is cancelled (onInterrupt),
  // and then ends as the driver ends a cancelled call. A second request ends the program at once.
  watching.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kStopSignals.size(); ++i) {
    ::sigaction(kStopSignals[i], nullptr, &previousActions[i]);
    if (!Ignored(previousActions[i])) ::sigaction(kStopSignals[i], &watching, nullptr);
  }
}

InterruptWatch::~InterruptWatch() {
  for (size_t i = 0; i < kStopSignals.size(); ++i) {
    ::sigaction(kStopSignals[i], &previousActions[i], nullptr);
  }
}

}  // namespace mv

// Child processes on Windows: CreateProcessW with the standard handles redirected to files.
#include <windows.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/unicode.h"
#include "tests/cli/child_process.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

/// One argument as CommandLineToArgvW reads it back: quoted, with the backslashes before a
/// quote doubled.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

/// This process's environment with the changes, as CreateProcessW takes it.
std::wstring EnvironmentBlock(const EnvironmentChanges& changes) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
    const std::wstring text = entry;
    const std::string name = Utf16ToUtf8(
        std::u16string(text.begin(), text.begin() + std::min(text.find(L'=', 1), text.size())));
    if (!changes.count(name)) block += text + L'\0';
  }
  FreeEnvironmentStringsW(strings);
  for (const auto& [name, value] : changes) {
    if (value) block += Wide(name + "=" + *value) + L'\0';
  }
  return block + L'\0';
}

HANDLE InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE file = CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  return file;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const EnvironmentChanges& environment) {
  std::wstring commandLine = Quoted(Wide(program));
  for (const std::string& argument : arguments) commandLine += L" " + Quoted(Wide(argument));
  std::wstring block = EnvironmentBlock(environment);
  const HANDLE handles[] = {InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING),
                            InheritableFile(folder_.File("out"), GENERIC_WRITE, CREATE_ALWAYS),
                            InheritableFile(folder_.File("err"), GENERIC_WRITE, CREATE_ALWAYS)};
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = handles[0];
  startup.hStdOutput = handles[1];
  startup.hStdError = handles[2];
  PROCESS_INFORMATION started{};
  // A process group of its own, so that Ctrl-Break reaches the child and not this test.
  const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_UNICODE_ENVIRONMENT | CREATE_NEW_PROCESS_GROUP,
                                      block.data(), nullptr, &startup, &started);
  for (HANDLE handle : handles) CloseHandle(handle);
  if (!created) throw std::runtime_error("cannot start " + program);
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  processId_ = started.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (status_ < 0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, INFINITE);
  }
  CloseHandle(process_);
}

bool ChildProcess::WaitForOutput(const std::string& text) {
  while (!OutputHolds(folder_.File("out"), text)) {
    if (WaitForSingleObject(process_, 5) == WAIT_OBJECT_0)
      return OutputHolds(folder_.File("out"), text);
  }
  return true;
}

bool ChildProcess::Interrupt() {
  return GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, processId_) != 0;
}

ChildResult ChildProcess::Finish() {
  if (status_ < 0) {
    WaitForSingleObject(process_, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    status_ = static_cast<int>(code);
  }
  return {status_, ReadFileBytes(folder_.File("out")), ReadFileBytes(folder_.File("err"))};
}

}  // namespace mv::testing

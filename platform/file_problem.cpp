// The system's reason for a failed file call: errno's text, or on Windows the system's message
// for the thread's last error; and the runtime's number for it.
#include "platform/file_problem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/errors.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/unicode.h"
#endif

namespace mv {
namespace {

/// The system's reason for the last failed call, whose errno is `error`.
std::string ReasonFor(int error) {
#ifdef _WIN32
  const DWORD lastError = ::GetLastError();
  wchar_t* text = nullptr;
  const DWORD length =
      lastError == 0
          ? 0
          : ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, lastError, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length > 0) {
    std::u16string message(reinterpret_cast<const char16_t*>(text), length);
    ::LocalFree(text);
    // The system's messages end in ".\r\n"; the reason stands in the middle of a line.
    while (!message.empty() &&
           (message.back() == u'\n' || message.back() == u'\r' || message.back() == u'.')) {
      message.pop_back();
    }
    return Utf16ToUtf8(message);
  }
#endif
  return std::strerror(error);
}

/// Opens `path` in `mode` ("rb", "ab") and closes it again; the system's reason when it fails.
std::string OpenFailureReason(const std::filesystem::path& path, const char* mode) {
  errno = 0;
#ifdef _WIN32
  ::SetLastError(0);
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  std::FILE* file = ::_wfopen(path.c_str(), wideMode.c_str());
#else
  std::FILE* file = std::fopen(path.c_str(), mode);
#endif
  if (file != nullptr) {
    std::fclose(file);
    return {};
  }
  return ReasonFor(errno);
}

bool DiskFull(int error) {
#ifdef EDQUOT
  if (error == EDQUOT) return true;
#endif
  return error == ENOSPC;
}

}  // namespace

std::string ReadFailureReason(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::strerror(EISDIR);
  return OpenFailureReason(path, "rb");
}

std::string AppendFailureReason(const std::filesystem::path& path) {
  return OpenFailureReason(path, "ab");
}

RuntimeError LastFileFailure(const std::string& what) {
  const int error = errno;
  // A missing folder keeps the runtime's own text, which the window and the dump have always
  // shown for it.
  if (error == ENOENT) return errors::PathNotFound();
  const std::string description = ReasonFor(error) + ": " + what;
  if (DiskFull(error)) return errors::DiskFull(description);
  return errors::PermissionDenied(description);
}

}  // namespace mv

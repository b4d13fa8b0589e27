// The system's reason for a failed open, found by opening the file and closing it again.
#include "platform/file_problem.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mv {
namespace {

/// Opens `path` in `mode` ("rb", "ab") and closes it again; the system's reason when it fails.
std::string OpenFailureReason(const std::filesystem::path& path, const char* mode) {
  errno = 0;
#ifdef _WIN32
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  std::FILE* file = ::_wfopen(path.c_str(), wideMode.c_str());
#else
  std::FILE* file = std::fopen(path.c_str(), mode);
#endif
  if (file != nullptr) {
    std::fclose(file);
    return {};
  }
  return std::strerror(errno);
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

}  // namespace mv

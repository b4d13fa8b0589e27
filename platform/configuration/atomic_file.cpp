// The read-only check, and the atomic write: a temporary file beside the original, renamed over it.
#include "platform/configuration/atomic_file.h"

#include <fstream>
#include <string>
#include <system_error>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

using std::filesystem::perms;

[[noreturn]] void ThrowCannotWrite(const std::filesystem::path& path) {
  throw errors::PermissionDenied("Permission denied: the file '" + Utf8FromPath(path) +
                                 "' cannot be written");
}

}  // namespace

bool IsReadOnlyFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return false;
  return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
         perms::none;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  if (IsReadOnlyFile(path)) ThrowCannotWrite(path);
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::error_code ignored;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) ThrowCannotWrite(path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temporary, ignored);
      ThrowCannotWrite(path);
    }
  }
  // The replacement keeps the permissions the operator gave the original.
  const auto original = std::filesystem::status(path, ignored);
  if (std::filesystem::exists(original)) {
    std::filesystem::permissions(temporary, original.permissions(), ignored);
  }
  std::error_code renameError;
  std::filesystem::rename(temporary, path, renameError);
  if (renameError) {
    std::filesystem::remove(temporary, ignored);
    ThrowCannotWrite(path);
  }
}

}  // namespace mv

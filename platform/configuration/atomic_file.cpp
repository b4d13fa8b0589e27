// The read-only check, and the atomic write: a temporary file beside the original, renamed over it.
#include "platform/configuration/atomic_file.h"

#include <string>
#include <system_error>

#include "platform/errors.h"
#include "platform/file_problem.h"
#include "platform/runtime_error.h"
#include "platform/text_file.h"
#include "platform/unicode.h"

namespace mv {
namespace {

using std::filesystem::perms;

std::string CannotBeWritten(const std::filesystem::path& path) {
  return "the file '" + Utf8FromPath(path) + "' cannot be written";
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
  if (IsReadOnlyFile(path)) {
    throw errors::PermissionDenied("Permission denied: " + CannotBeWritten(path));
  }
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  std::error_code ignored;
  try {
    WriteWholeFile(temporary, bytes);
  } catch (const RuntimeError&) {
    // Something else in the temporary file's place (a folder) is not the program's to remove.
    if (std::filesystem::is_regular_file(temporary, ignored)) {
      std::filesystem::remove(temporary, ignored);
    }
    throw;
  }
  // The replacement keeps the permissions the operator gave the original.
  const auto original = std::filesystem::status(path, ignored);
  if (std::filesystem::exists(original)) {
    std::filesystem::permissions(temporary, original.permissions(), ignored);
  }
  std::error_code renameError;
  std::filesystem::rename(temporary, path, renameError);
  if (renameError) {
    const RuntimeError failure = LastFileFailure(CannotBeWritten(path));
    std::filesystem::remove(temporary, ignored);
    throw failure;
  }
}

}  // namespace mv

// Whole-file replacement that never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <string_view>

namespace mv {

/// True when `path` exists and carries no write permission for anyone (on Windows: the
/// read-only attribute).
bool IsReadOnlyFile(const std::filesystem::path& path);

/// Replaces the content of `path` with `bytes`: writes a temporary file beside it, then
/// renames it over the original. Throws RuntimeError 70 "Permission denied" naming `path`
/// when the file is read-only, and the system's reason (LastFileFailure) naming the file that
/// could not be written when a step fails (61 for a full disk); the original then keeps its
/// content and the temporary file is removed.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace mv

// Text files as the program writes and reads them: whole lines ending in CR LF, in the
// system's narrow code page on disk, UTF-8 inside the program.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "platform/unicode.h"  // PathFromUtf8, which callers build the paths with

namespace mv {

/// A forward-only text writer. A line written outside a group reaches the file before the
/// call returns; the lines of a group are kept back and reach it together, in one write, when
/// the group is released. So the file holds every line written before a failure, except those
/// of a group not yet released, and only whole lines: a write that fails part-way is taken
/// back. Failures throw RuntimeError with the system's reason (LastFileFailure).
class TextWriter {
 public:
  enum class Mode { Append, Overwrite };

  /// Opens (creating when missing) the file. Throws RuntimeError 76 when the folder does not
  /// exist, 61 when the disk is full and 70 when the file cannot be opened otherwise.
  TextWriter(const std::filesystem::path& path, Mode mode);

  /// Writes the text and CR LF. Throws RuntimeError 61 "Disk full" or 70 when the write
  /// fails, 70 when the writer is closed; the file then ends with the last whole line written
  /// before.
  void WriteLine(std::string_view utf8);
  /// Writes `count` empty lines.
  void WriteBlankLines(int count);
  /// Closes the file; lines held for a group not yet released are dropped.
  void Close();

  /// From now on keeps the lines written in memory instead of writing them, until
  /// ReleaseHeld writes them in order, in one write, or DropHeld forgets them: the lines of a
  /// group of records reach the log only once the group is committed.
  void Hold();
  void ReleaseHeld();
  void DropHeld();

 private:
  /// Writes the pending lines to the file, in one write, and forgets them.
  void WritePending();
  /// Writes `bytes` as they are, in one write, cut off again when it fails part-way.
  void WriteBytes(std::string_view bytes);
  friend void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::filesystem::path path_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  bool holding_ = false;
  /// The lines not yet written, in the file's code page and with their line ends.
  std::string pending_;
};

/// Replaces the content of the file at `path` (created when missing) with `bytes`. Throws
/// RuntimeError with the system's reason (LastFileFailure) when it cannot be opened or written;
/// the file may then hold part of `bytes`.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

/// A forward-only text reader; lines may end in CR LF or LF.
class TextReader {
 public:
  /// Throws RuntimeError 53 "File not found" or 70 "Permission denied".
  explicit TextReader(const std::filesystem::path& path);

  bool AtEndOfStream();
  /// The next line without its line end. Throws RuntimeError 62 past the end.
  std::string ReadLine();

 private:
  std::ifstream stream_;
};

}  // namespace mv

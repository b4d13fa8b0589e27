// Text files as the program writes and reads them: whole lines ending in CR LF, in the
// system's narrow code page on disk, UTF-8 inside the program.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/unicode.h"  // PathFromUtf8, which callers build the paths with

namespace mv {

/// A forward-only text writer. A line written outside a group reaches the file before the
/// call returns; the lines of a group are kept back and reach it together, in one write, when
/// the group is released. So the file holds every line written before a failure, except those
/// of a group not yet released. Failures throw RuntimeError.
class TextWriter {
 public:
  enum class Mode { Append, Overwrite };

  /// Opens (creating when missing) the file. Throws RuntimeError 76 "Path not found" when the
  /// folder does not exist and 70 "Permission denied" when the file cannot be opened.
  TextWriter(const std::filesystem::path& path, Mode mode);

  /// Writes the text and CR LF. Throws RuntimeError 70 when the write fails or the writer
  /// is closed.
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

  std::ofstream stream_;
  bool holding_ = false;
  /// The lines not yet written, in the file's code page and with their line ends.
  std::string pending_;
};

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

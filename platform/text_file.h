// Text files as the program writes and reads them: whole lines ending in CR LF, in the
// system's narrow code page on disk, UTF-8 inside the program.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/unicode.h"  // PathFromUtf8, which callers build the paths with

namespace mv {

/// A forward-only text writer. Every write goes to disk before the call returns, so a log
/// holds every line written before a failure. Failures throw RuntimeError.
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
  void Close();

  /// From now on keeps the lines written in memory instead of writing them, until
  /// ReleaseHeld writes them in order or DropHeld forgets them: the lines of a group of
  /// records reach the log only once the group is committed.
  void Hold();
  void ReleaseHeld();
  void DropHeld();

 private:
  void Write(std::string_view utf8);

  std::filesystem::path path_;
  std::ofstream stream_;
  bool holding_ = false;
  std::vector<std::string> held_;
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

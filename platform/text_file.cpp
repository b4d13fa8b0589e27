// Text files: CR LF lines in the narrow code page, a group's held lines written together, and a
// failed write taken back to the last whole line.
#include "platform/text_file.h"

#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "platform/errors.h"
#include "platform/file_problem.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

std::FILE* OpenFile(const std::filesystem::path& path, TextWriter::Mode mode) {
#ifdef _WIN32
  return ::_wfopen(path.c_str(), mode == TextWriter::Mode::Append ? L"ab" : L"wb");
#else
  return std::fopen(path.c_str(), mode == TextWriter::Mode::Append ? "ab" : "wb");
#endif
}

/// The length of the open file; -1 when the system cannot tell (a device).
long long FileEnd(std::FILE* file) {
#ifdef _WIN32
  if (::_fseeki64(file, 0, SEEK_END) != 0) return -1;
  return ::_ftelli64(file);
#else
  if (::fseeko(file, 0, SEEK_END) != 0) return -1;
  return ::ftello(file);
#endif
}

/// Cuts the open file back to `length` bytes.
void CutBackTo(std::FILE* file, long long length) {
  if (length < 0) return;
#ifdef _WIN32
  (void)::_chsize_s(::_fileno(file), length);
#else
  (void)::ftruncate(::fileno(file), static_cast<off_t>(length));
#endif
}

std::string CannotBeWritten(const std::filesystem::path& path) {
  return "the file '" + Utf8FromPath(path) + "' cannot be written";
}

}  // namespace

TextWriter::TextWriter(const std::filesystem::path& path, Mode mode)
    : path_(path), file_(OpenFile(path, mode)) {
  if (!file_) throw LastFileFailure(CannotBeWritten(path));
  // Each write goes straight to the system, so that a failed one leaves nothing behind in a
  // buffer to be written later.
  std::setvbuf(file_.get(), nullptr, _IONBF, 0);
}

void TextWriter::WriteLine(std::string_view utf8) {
  pending_ += Utf8ToNarrow(utf8);
  pending_ += "\r\n";
  if (!holding_) WritePending();
}

void TextWriter::Hold() { holding_ = true; }

void TextWriter::ReleaseHeld() {
  holding_ = false;
  WritePending();
}

void TextWriter::DropHeld() {
  holding_ = false;
  pending_.clear();
}

void TextWriter::WritePending() {
  if (pending_.empty()) return;
  WriteBytes(std::exchange(pending_, {}));
}

void TextWriter::WriteBytes(std::string_view bytes) {
  if (!file_) throw errors::PermissionDenied(CannotBeWritten(path_) + ": it is closed");
  const long long end = FileEnd(file_.get());
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size()) return;
  const RuntimeError failure = LastFileFailure(CannotBeWritten(path_));
  CutBackTo(file_.get(), end);
  std::clearerr(file_.get());
  throw failure;
}

void TextWriter::WriteBlankLines(int count) {
  for (int i = 0; i < count; ++i) WriteLine("");
}

void TextWriter::Close() {
  pending_.clear();
  file_.reset();
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  TextWriter file(path, TextWriter::Mode::Overwrite);
  file.WriteBytes(bytes);
}

TextReader::TextReader(const std::filesystem::path& path) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) {
    throw errors::FileNotFound();
  }
  stream_.open(path, std::ios::in | std::ios::binary);
  if (!stream_) throw errors::PermissionDenied();
}

bool TextReader::AtEndOfStream() { return stream_.peek() == std::ifstream::traits_type::eof(); }

std::string TextReader::ReadLine() {
  if (AtEndOfStream()) throw errors::InputPastEndOfFile();
  std::string line;
  std::getline(stream_, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return NarrowToUtf8(line);
}

}  // namespace mv

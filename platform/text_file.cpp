// Text files: CR LF lines in the narrow code page, a group's held lines written together.
#include "platform/text_file.h"

#include <system_error>
#include <utility>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {

TextWriter::TextWriter(const std::filesystem::path& path, Mode mode) {
  std::error_code ignored;
  const auto folder = path.parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, ignored)) {
    throw errors::PathNotFound();
  }
  const auto openMode = std::ios::binary | (mode == Mode::Append ? std::ios::app : std::ios::trunc);
  stream_.open(path, std::ios::out | openMode);
  if (!stream_) throw errors::PermissionDenied();
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
  const std::string bytes = std::exchange(pending_, {});
  if (!stream_.is_open()) throw errors::PermissionDenied();
  stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  stream_.flush();
  if (!stream_) throw errors::PermissionDenied();
}

void TextWriter::WriteBlankLines(int count) {
  for (int i = 0; i < count; ++i) WriteLine("");
}

void TextWriter::Close() {
  pending_.clear();
  if (stream_.is_open()) stream_.close();
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

// SettingsFile: reading and rewriting the six lines of Vantrel23Convert.INI.
#include "driver/settings_file.h"

#include <array>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "driver/convert_functions.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

struct SettingsLine {
  std::string SettingsFields::*field;
  const char* name;
  MessageSubject subject;
};

// The fields in the order of the file's lines.
constexpr std::array<SettingsLine, 6> kLines{{
    {&SettingsFields::SDBServer, "source server", MessageSubject::SourceServer},
    {&SettingsFields::TDBServer, "target server", MessageSubject::TargetServer},
    {&SettingsFields::SUser, "source user", MessageSubject::SourceUser},
    {&SettingsFields::TUser, "target user", MessageSubject::TargetUser},
    {&SettingsFields::SDB, "source database", MessageSubject::SourceDatabase},
    {&SettingsFields::TDB, "target database", MessageSubject::TargetDatabase},
}};

// U+FFFD, which the reader gives for bytes that a code page other than UTF-8 cannot decode.
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

/// Reads the next line: true with `text` set when it is not empty; false for an empty line
/// and at the end of the file.
bool ReadSettingLine(TextReader& file, std::string& text) {
  if (file.AtEndOfStream()) return false;
  text = file.ReadLine();
  return !text.empty();
}

}  // namespace

std::vector<std::string> SettingsLineNames() {
  std::vector<std::string> names;
  for (const SettingsLine& line : kLines) names.emplace_back(line.name);
  return names;
}

SettingsLineRefused::SettingsLineRefused(MessageSubject subject, const std::string& description)
    : RuntimeError(errors::kInvalidProcedureCall, description), subject_(subject) {}

SettingsFile::SettingsFile(std::string sIniFileName) : sIniFileName_(std::move(sIniFileName)) {}

void SettingsFile::LoadSettings(SettingsFields& fields) const {
  const auto path = PathFromUtf8(sIniFileName_);
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return;
  SettingsFields read = fields;
  std::optional<SettingsLineRefused> refused;
  try {
    if (!std::filesystem::is_regular_file(path, ignored)) {
      throw errors::PermissionDenied();
    }
    TextReader file(path);
    for (size_t n = 0; n < kLines.size() && !refused; ++n) {
      std::string text;
      if (!ReadSettingLine(file, text)) continue;
      read.*kLines[n].field = text;
      refused = Refusal(n, text);
    }
  } catch (const std::exception&) {
    throw errors::PermissionDenied(FailureMessage());
  }
  if (refused) throw *refused;
  fields = std::move(read);
}

std::optional<SettingsLineRefused> SettingsFile::Refusal(size_t index,
                                                         const std::string& text) const {
  std::optional<std::string> fault = ConnectionValueFault(text);
  // Bytes that the code page cannot decode reach the program as they stand (a UTF-8 code page)
  // or as U+FFFD (any other).
  if (!IsValidUtf8(text) || text.find(kReplacementCharacter) != std::string::npos) {
    fault = "is not valid text in the file's encoding (" + NarrowCodePageName() + ")";
  }
  if (!fault) return std::nullopt;
  const SettingsLine& line = kLines[index];
  return SettingsLineRefused(line.subject, "Line " + std::to_string(index + 1) + " (" + line.name +
                                               ") of '" + sIniFileName_ + "' " + *fault + ".");
}

void SettingsFile::SaveSettings(const SettingsFields& fields) const {
  const auto path = PathFromUtf8(sIniFileName_);
  try {
    std::error_code failed;
    std::filesystem::remove(path, failed);
    if (failed) throw errors::PermissionDenied();
    TextWriter file(path, TextWriter::Mode::Overwrite);
    for (const SettingsLine& line : kLines) file.WriteLine(fields.*line.field);
    file.Close();
  } catch (const RuntimeError& error) {
    throw errors::Retold(error, FailureMessage());
  }
}

std::string SettingsFile::FailureMessage() const {
  return "Path '" + sIniFileName_ + "' for logfile doesn't exist.";
}

}  // namespace mv

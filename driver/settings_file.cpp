// SettingsFile: reading and rewriting the six lines of Vantrel23Convert.INI.
#include "driver/settings_file.h"

#include <array>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

// The fields in the order of the file's lines.
constexpr std::array<std::string SettingsFields::*, 6> kLines{
    &SettingsFields::SDBServer, &SettingsFields::TDBServer, &SettingsFields::SUser,
    &SettingsFields::TUser,     &SettingsFields::SDB,       &SettingsFields::TDB,
};

/// Reads the next line: true with `text` set when it is not empty; false for an empty line
/// and at the end of the file.
bool ReadSettingLine(TextReader& file, std::string& text) {
  if (file.AtEndOfStream()) return false;
  text = file.ReadLine();
  return !text.empty();
}

}  // namespace

SettingsFile::SettingsFile(std::string sIniFileName) : sIniFileName_(std::move(sIniFileName)) {}

void SettingsFile::LoadSettings(SettingsFields& fields) const {
  const auto path = PathFromUtf8(sIniFileName_);
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return;
  SettingsFields read = fields;
  try {
    if (!std::filesystem::is_regular_file(path, ignored)) {
      throw errors::PermissionDenied();
    }
    TextReader file(path);
    for (const auto field : kLines) {
      std::string line;
      if (ReadSettingLine(file, line)) read.*field = line;
    }
  } catch (const std::exception&) {
    throw errors::PermissionDenied(FailureMessage());
  }
  fields = std::move(read);
}

void SettingsFile::SaveSettings(const SettingsFields& fields) const {
  const auto path = PathFromUtf8(sIniFileName_);
  try {
    std::error_code failed;
    std::filesystem::remove(path, failed);
    if (failed) throw errors::PermissionDenied();
    TextWriter file(path, TextWriter::Mode::Overwrite);
    for (const auto field : kLines) file.WriteLine(fields.*field);
    file.Close();
  } catch (const RuntimeError& error) {
    throw errors::Retold(error, FailureMessage());
  }
}

std::string SettingsFile::FailureMessage() const {
  return "Path '" + sIniFileName_ + "' for logfile doesn't exist.";
}

}  // namespace mv

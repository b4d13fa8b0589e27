// The hints under vantrel-migrate's messages: each connection value's option and settings-file
// line, and what to do about the log or the settings file.
#include "cli/operator_hints.h"

#include <array>
#include <string_view>

#include "driver/convert_functions.h"

namespace mv {
namespace {

/// A connection value: its option and its line in the settings file.
struct ValueSource {
  MessageSubject subject;
  const char* option;
  int line;
};

constexpr std::array<ValueSource, 6> kValueSources{{
    {MessageSubject::SourceServer, "--source-server", 1},
    {MessageSubject::TargetServer, "--target-server", 2},
    {MessageSubject::SourceUser, "--source-user", 3},
    {MessageSubject::TargetUser, "--target-user", 4},
    {MessageSubject::SourceDatabase, "--source-db", 5},
    {MessageSubject::TargetDatabase, "--target-db", 6},
}};

const ValueSource& SourceOf(MessageSubject subject) {
  for (const ValueSource& source : kValueSources) {
    if (source.subject == subject) return source;
  }
  return kValueSources.front();
}

std::string EmptyValueHint(MessageSubject subject, const std::string& settingsFile) {
  const ValueSource& source = SourceOf(subject);
  std::string hint = "Give " + std::string(source.option) + "=NAME";
  if (!settingsFile.empty()) {
    hint += ", or fill line " + std::to_string(source.line) + " of " + settingsFile;
  }
  return hint + ".";
}

// What a connection value that was given must be.
const std::string kUsableValue = " as text of at most " +
                                 std::to_string(kMaxConnectionValueLength) +
                                 " characters, without control characters";

// A value given but refused: from its line of the settings file (`detail.path`), else from its
// option or, for a password, its environment variable or the terminal.
std::string RefusedValueHint(const MessageDetail& detail) {
  if (detail.subject == MessageSubject::SourcePassword ||
      detail.subject == MessageSubject::TargetPassword) {
    const char* side = detail.subject == MessageSubject::SourcePassword ? "SOURCE" : "TARGET";
    return std::string("Give the password in VANTREL_") + side + "_PASSWORD, or when asked," +
           kUsableValue + ".";
  }
  const ValueSource& source = SourceOf(detail.subject);
  if (!detail.path.empty()) {
    return "Correct line " + std::to_string(source.line) + " of " + detail.path + kUsableValue +
           ", or empty it and give " + source.option + "=NAME.";
  }
  return "Give " + std::string(source.option) + "=NAME" + kUsableValue + ".";
}

std::string ConnectionHint(bool source, const std::string& settingsFile) {
  const char* side = source ? "source" : "target";
  std::string hint =
      std::string("Check --") + side + "-server, --" + side + "-user and --" + side + "-db";
  if (!settingsFile.empty()) {
    hint += std::string(" (lines ") + (source ? "1, 3 and 5" : "2, 4 and 6") + " of " +
            settingsFile + ")";
  }
  return hint + ", and the password in VANTREL_" + (source ? "SOURCE" : "TARGET") + "_PASSWORD.";
}

}  // namespace

std::string HintFor(const MessageDetail& detail, const std::string& settingsFile) {
  if (detail.valueRefused) return RefusedValueHint(detail);
  switch (detail.subject) {
    case MessageSubject::None:
      return {};
    case MessageSubject::SourceConnection:
    case MessageSubject::TargetConnection:
      return ConnectionHint(detail.subject == MessageSubject::SourceConnection, settingsFile);
    case MessageSubject::LogFile:
      return "The log " + detail.path +
             " cannot be written: make its folder writable, or give --log=PATH.";
    case MessageSubject::SettingsFile:
      return "Make " + detail.path +
             " readable, or give all six connection values as options (--source-server, "
             "--source-user, --source-db, --target-server, --target-user, --target-db) and "
             "--log=PATH.";
    case MessageSubject::SourceServer:
    case MessageSubject::TargetServer:
    case MessageSubject::SourceUser:
    case MessageSubject::TargetUser:
    case MessageSubject::SourceDatabase:
    case MessageSubject::TargetDatabase:
    case MessageSubject::SourcePassword:
    case MessageSubject::TargetPassword:
      break;
  }
  return EmptyValueHint(detail.subject, settingsFile);
}

std::string ResumeCopyHint(const RunTally::Section& copy, bool resumeCopy) {
  constexpr std::string_view kFilled = "already filled: ";
  // A copy that wrote a table before it found a filled one has no earlier run to go on with.
  if (resumeCopy || !copy.tableRows.empty()) return {};
  for (const RunTally::Count& count : copy.counts) {
    if (!count.what.starts_with(kFilled)) continue;
    return "Table " + count.what.substr(kFilled.size()) +
           " is already filled, so the copy wrote nothing: a copy that an earlier run left "
           "unfinished goes on with --resume-copy.";
  }
  return {};
}

}  // namespace mv

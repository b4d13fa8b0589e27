// The options of vantrel-migrate, read from its arguments.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mv {

/// What the operator asked for. A connection value that was not given stays empty, so that
/// the settings file can supply it.
struct CommandLine {
  bool help = false;
  bool version = false;
  std::optional<std::string> SDBServer;
  std::optional<std::string> SUser;
  std::optional<std::string> SDB;
  std::optional<std::string> TDBServer;
  std::optional<std::string> TUser;
  std::optional<std::string> TDB;
  std::optional<std::string> logPath;
  std::optional<std::string> reportPath;
  /// KEY=value pairs added to both connection strings, instead of VANTREL_ODBC_KEYWORDS's.
  std::optional<std::string> odbcKeywords;
  bool convertBaskets = false;
  bool convertOrders = false;
  bool convertParameters = false;
  bool copyData = false;
  bool resumeCopy = false;
  bool rehearse = false;
  /// Compare the target with what the chosen migrations write, writing nothing.
  bool verify = false;
};

/// Reads the arguments after the program name: long options in the forms "--name value" and
/// "--name=value", "-h" for "--help". Throws UsageError for an unknown option, a missing or
/// unexpected value, a stray argument, no migration chosen, --resume-copy without the copy, or
/// --verify with --rehearse or --resume-copy.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

/// A command line that cannot be run, with the reason for the operator.
class UsageError : public std::exception {
 public:
  explicit UsageError(std::string reason) : reason_(std::move(reason)) {}
  const char* what() const noexcept override { return reason_.c_str(); }

 private:
  std::string reason_;
};

/// The text of --help.
std::string HelpText();

}  // namespace mv

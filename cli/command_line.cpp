// The option table of vantrel-migrate, the arguments read against it, and the text of --help.
#include "cli/command_line.h"

#include <array>

namespace mv {
namespace {

struct ValueOption {
  const char* name;
  std::optional<std::string> CommandLine::*field;
};

constexpr std::array<ValueOption, 9> kValueOptions{{
    {"--source-server", &CommandLine::SDBServer},
    {"--source-user", &CommandLine::SUser},
    {"--source-db", &CommandLine::SDB},
    {"--target-server", &CommandLine::TDBServer},
    {"--target-user", &CommandLine::TUser},
    {"--target-db", &CommandLine::TDB},
    {"--log", &CommandLine::logPath},
    {"--report", &CommandLine::reportPath},
    {"--odbc-keywords", &CommandLine::odbcKeywords},
}};

struct FlagOption {
  const char* name;
  bool CommandLine::*field;
};

constexpr std::array<FlagOption, 10> kFlagOptions{{
    {"--help", &CommandLine::help},
    {"--version", &CommandLine::version},
    {"--baskets", &CommandLine::convertBaskets},
    {"--orders", &CommandLine::convertOrders},
    {"--parameters", &CommandLine::convertParameters},
    {"--copy", &CommandLine::copyData},
    {"--resume-copy", &CommandLine::resumeCopy},
    {"--rehearse", &CommandLine::rehearse},
    {"--verify", &CommandLine::verify},
    {"--all", nullptr},
}};

void SelectAll(CommandLine& line) {
  line.convertBaskets = line.convertOrders = line.convertParameters = line.copyData = true;
}

// Sets the flag or value option `name`; false when there is none of that name.
bool ReadOption(CommandLine& line, const std::string& name, const std::optional<std::string>& value,
                const std::vector<std::string>& arguments, size_t& next) {
  for (const FlagOption& flag : kFlagOptions) {
    if (name != flag.name) continue;
    if (value) throw UsageError("option '" + name + "' doesn't allow an argument");
    if (flag.field == nullptr) {
      SelectAll(line);
    } else {
      line.*flag.field = true;
    }
    return true;
  }
  for (const ValueOption& option : kValueOptions) {
    if (name != option.name) continue;
    if (value) {
      line.*option.field = *value;
    } else if (next < arguments.size()) {
      line.*option.field = arguments[next++];
    } else {
      throw UsageError("option '" + name + "' requires an argument");
    }
    return true;
  }
  return false;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (size_t next = 0; next < arguments.size();) {
    const std::string& argument = arguments[next++];
    if (argument == "-h") {
      line.help = true;
      continue;
    }
    if (argument.rfind("--", 0) != 0 || argument == "--") {
      throw UsageError("unexpected argument '" + argument + "'");
    }
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = argument.substr(equals + 1);
    if (!ReadOption(line, name, value, arguments, next)) {
      throw UsageError("unrecognized option '" + argument + "'");
    }
  }
  if (line.help || line.version) return line;
  if (!line.convertBaskets && !line.convertOrders && !line.convertParameters && !line.copyData) {
    throw UsageError(
        "choose the migrations to run: --baskets, --orders, --parameters, --copy or "
        "--all");
  }
  if (line.resumeCopy && !line.copyData) {
    throw UsageError("option '--resume-copy' needs the copy: add --copy or --all");
  }
  if (line.verify && (line.rehearse || line.resumeCopy)) {
    throw UsageError("option '--verify' writes nothing: leave out --rehearse and --resume-copy");
  }
  return line;
}

std::string HelpText() {
  return R"HELP(Usage: vantrel-migrate [OPTION]... --baskets|--orders|--parameters|--copy|--all
Migrate a Vantrel web shop's data from release 2.2 to release 2.3, as the window
MigrateVantrel22To23 does, without a window.

Migrations (at least one; they run in the order baskets, orders, parameters, copy):
      --baskets              migrate the stored baskets
      --orders               migrate the submitted orders
      --parameters           migrate the parameters
      --copy                 copy the remaining data
      --all                  all four
      --resume-copy          go on with a copy that an earlier run left unfinished:
                             tables already copied in full are kept
      --rehearse             run the chosen migrations as a real run would, but write
                             nothing: every write is rolled back, the configuration
                             store's new content goes to VantrelConfiguration.xml.rehearsal
                             beside it, the log to Vantrel23Rehearsal.log beside the
                             real log; ends with a summary of what a real run would do
      --verify               write nothing, compare the target (and the
                             configuration store) with what the chosen migrations
                             write for the source now, and count per migration what
                             is equal, different, missing, extra or refused; the
                             first findings go to standard error, all of them to
                             the log and the report

Connection values (each one not given is taken from the settings file
Vantrel23Convert.INI in the working folder, as the window fills its fields):
      --source-server=NAME   --source-user=NAME   --source-db=NAME
      --target-server=NAME   --target-user=NAME   --target-db=NAME
      --odbc-keywords=KEY=VALUE;...
                             ODBC keywords added to both connection strings, e.g.
                             'Driver={ODBC Driver 18 for SQL Server};Encrypt=yes;
                             TrustServerCertificate=yes'; a Driver given replaces the
                             program's "SQL Server"; a value holding ';' goes in {...};
                             server, uid, pwd and database stay the connection values';
                             given, VANTREL_ODBC_KEYWORDS is not read

      --log=PATH             write the log there instead of Vantrel23Conversion.log
                             in the working folder
      --report=FILE          write what the run did to FILE as JSON (also after a
                             failure or a stop); the README lists its fields
  -h, --help                 show this help and exit
      --version              show the version and exit

Environment:
  VANTREL_CONFIGURATION      the installation's configuration file; its folder is the
                             working folder
  VANTREL_SOURCE_PASSWORD    the source database password
  VANTREL_TARGET_PASSWORD    the target database password
  VANTREL_ODBC_KEYWORDS      ODBC keywords added to both connection strings, as
                             --odbc-keywords takes them
A password that is not in the environment is asked for when standard input is a
terminal, and empty otherwise. Passwords are never taken from the command line.

Output: each migration's status on standard output ("Migrate Baskets   (Busy)", then
"(Done, No Errors Found)" or "(Done, Errors Found)"), the summary of what the run did
(a rehearsal's: what a real run would do) and the log's path, then "Conversion was
completed succesfully." when every migration succeeded. Messages and errors go to
standard error, each with what to change, with the progress of the running migration.
Ctrl-C, SIGTERM or SIGHUP stops the run after the unit being written, cancelling the
database statement running at that moment; a second one ends it at once.

Exit status: 0 every migration succeeded (--verify: nothing missing, different, extra or
unreadable); 1 a migration reported errors or was stopped (--verify: something was found);
2 bad usage, an empty or unusable connection value (a control character, more than
1000 characters) or a database that cannot be reached (nothing ran);
130 ended at once by a second Ctrl-C, SIGTERM or SIGHUP.
)HELP";
}

}  // namespace mv

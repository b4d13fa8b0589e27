// vantrel-migrate: the window's migration run, driven by command-line options.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace mv {

/// Exit statuses of vantrel-migrate.
inline constexpr int kExitSucceeded = 0;   ///< every selected migration succeeded
inline constexpr int kExitErrors = 1;      ///< a migration reported errors or was stopped
inline constexpr int kExitNothingRan = 2;  ///< bad usage, a field check or a connection test

/// Runs the command with the arguments after the program name, writing to `out` and `err`;
/// answers its exit status.
int RunMigrateCommand(const std::vector<std::string>& arguments, std::ostream& out,
                      std::ostream& err);

}  // namespace mv

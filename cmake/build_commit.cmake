# Writes the header that names the commit the program is built from:
#   cmake -DSOURCE_DIR=<checkout> -DOUTPUT=<header> -P build_commit.cmake
# Run on every build, so that --version names the commit being built, not the one of the last
# configure. The header is rewritten only when the commit changes, so an unchanged commit
# compiles nothing again. "unknown" when the sources are no git checkout or git is missing.
cmake_minimum_required(VERSION 3.25)
find_package(Git QUIET)
set(BUILD_COMMIT unknown)
if(GIT_FOUND)
  # safe.directory: a checkout owned by another user (a CI checkout built as root) still
  # answers; only the commit is read from it.
  execute_process(
    COMMAND "${GIT_EXECUTABLE}" -c "safe.directory=${SOURCE_DIR}" -C "${SOURCE_DIR}"
            rev-parse --short=12 HEAD
    OUTPUT_VARIABLE commit
    OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_QUIET
    RESULT_VARIABLE status)
  if(status EQUAL 0 AND commit MATCHES "^[0-9a-f]+$")
    set(BUILD_COMMIT "${commit}")
  endif()
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" @ONLY CONTENT
"// Written by cmake/build_commit.cmake on every build.
#pragma once

namespace mv {

/// The commit the program is built from, or \"unknown\".
inline constexpr const char* kBuildCommit = \"@BUILD_COMMIT@\";

}  // namespace mv
")

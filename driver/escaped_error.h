// The one boundary for an error that escapes a migration step: its description and the line
// the log gives it.
#pragma once

#include <exception>
#include <string>

#include "platform/text_file.h"

namespace mv {

/// The description of any error: a RuntimeError's own text, what() of every other exception.
std::string DescriptionOf(const std::exception& error);

/// "Error occured: " and the error's description, as the log reports a step's failure.
std::string ErrorOccuredLine(const std::string& description);
std::string ErrorOccuredLine(const std::exception& error);

/// Writes ErrorOccuredLine(error) to `log`; a failing write reaches the caller.
void WriteErrorOccured(TextWriter& log, const std::exception& error);

}  // namespace mv

// Running one converter in a test, and reading what it left: the log's lines and the rows of
// the target.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/connection_values.h"
#include "driver/converter.h"
#include "driver/run_progress.h"
#include "platform/odbc/connection.h"
#include "platform/text_file.h"
#include "platform/variant.h"

namespace mv::testing {

/// One Convert call of `converter` with its log opened at `logPath` in `mode` and closed
/// before the answer is returned.
bool RunConverter(Converter& converter, const ConnectionValues& values, const std::string& logPath,
                  TextWriter::Mode mode = TextWriter::Mode::Append);

/// A progress that shows nothing and tells of a stop once the migration has asked
/// `questionsBefore` times whether to stop.
class StopAfterQuestions : public RunProgress {
 public:
  explicit StopAfterQuestions(int questionsBefore) : left_(questionsBefore) {}
  void Report(std::string_view, std::int64_t, std::int64_t, std::string_view) override {}
  bool StopRequested() const override { return left_-- <= 0; }

 private:
  mutable int left_;
};

/// The lines of the log at `path`, as the program reads its own text files.
std::vector<std::string> LogLines(const std::string& path);

/// True for the line in which a migration names its target's dialect (TargetDialectLine).
bool IsTargetDialectLine(const std::string& line);

/// `logText` without the lines that name the target's dialect, for tests of the other lines.
std::string WithoutTargetDialectLines(const std::string& logText);
/// LogLines of the log at `path` without the lines that name the target's dialect.
std::vector<std::string> LogLinesWithoutDialect(const std::string& path);

/// The lines joined as the log writes them: each ended by CR LF, in the narrow code page.
std::string LogText(const std::vector<std::string>& lines);

/// The number of rows of `table`.
long CountRows(Connection& connection, const std::string& table);

/// One entry per result row of `sql`, each the row's values in column order.
std::vector<std::vector<Variant>> Rows(Connection& connection, const std::string& sql);

}  // namespace mv::testing

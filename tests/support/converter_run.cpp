#include "tests/support/converter_run.h"

#include "platform/odbc/recordset.h"
#include "platform/unicode.h"

namespace mv::testing {

bool RunConverter(Converter& converter, const ConnectionValues& values, const std::string& logPath,
                  TextWriter::Mode mode) {
  TextWriter log(PathFromUtf8(logPath), mode);
  const bool result = converter.Convert(values, log);
  log.Close();
  return result;
}

std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  TextReader reader(PathFromUtf8(path));
  while (!reader.AtEndOfStream()) lines.push_back(reader.ReadLine());
  return lines;
}

std::string LogText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return Utf8ToNarrow(text);
}

long CountRows(Connection& connection, const std::string& table) {
  return Recordset(connection, "select * from " + table).RecordCount();
}

std::vector<std::vector<Variant>> Rows(Connection& connection, const std::string& sql) {
  Recordset result(connection, sql);
  std::vector<std::vector<Variant>> rows;
  for (; !result.Eof(); result.MoveNext()) {
    std::vector<Variant>& row = rows.emplace_back();
    for (const auto& name : result.FieldNames()) row.push_back(result.Field(name));
  }
  return rows;
}

bool IsTargetDialectLine(const std::string& line) {
  return line.starts_with("The target database names itself '");
}

std::vector<std::string> LogLinesWithoutDialect(const std::string& path) {
  std::vector<std::string> lines = LogLines(path);
  std::erase_if(lines, IsTargetDialectLine);
  return lines;
}

std::string WithoutTargetDialectLines(const std::string& logText) {
  std::string kept;
  for (size_t start = 0; start < logText.size();) {
    const size_t end = logText.find("\r\n", start);
    const size_t next = end == std::string::npos ? logText.size() : end + 2;
    const std::string line = logText.substr(start, next - start);
    if (!IsTargetDialectLine(line)) kept += line;
    start = next;
  }
  return kept;
}

}  // namespace mv::testing

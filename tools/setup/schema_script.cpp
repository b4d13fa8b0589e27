#include "tools/setup/schema_script.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv::setup {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::string EngineFolderName(Engine engine) {
  return engine == Engine::Sqlite ? "sqlite" : "postgresql";
}

std::vector<std::string> SplitStatements(const std::string& script) {
  std::vector<std::string> statements;
  std::istringstream lines(script);
  std::string line;
  std::string current;
  while (std::getline(lines, line)) {
    const std::string trimmed = Trim(line);
    if (trimmed.rfind("--", 0) == 0) continue;
    current += line + "\n";
    if (!trimmed.empty() && trimmed.back() == ';') {
      std::string statement = Trim(current);
      statement.pop_back();
      if (!Trim(statement).empty()) statements.push_back(Trim(statement));
      current.clear();
    }
  }
  if (!Trim(current).empty()) statements.push_back(Trim(current));
  return statements;
}

void ApplySchema(Connection& connection, const std::filesystem::path& schemaRoot, Engine engine,
                 const std::string& database) {
  const auto folder = schemaRoot / EngineFolderName(engine) / database;
  if (!std::filesystem::is_directory(folder)) {
    throw errors::PathNotFound("Schema folder not found: " + folder.string());
  }
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".sql") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    for (const auto& statement : SplitStatements(text.str())) connection.Execute(statement);
  }
}

}  // namespace mv::setup

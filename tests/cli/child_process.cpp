// What a child wrote, read the same way on every system.
#include "tests/cli/child_process.h"

#include <sstream>

#include "tests/support/recording_message_display.h"

namespace mv::testing {

bool OutputHolds(const std::string& file, const std::string& text) {
  std::string output = ReadFileBytes(file);
  std::erase(output, '\r');
  return output.find(text) != std::string::npos;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& environment) {
  return ChildProcess(program, arguments, environment).Finish();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace mv::testing

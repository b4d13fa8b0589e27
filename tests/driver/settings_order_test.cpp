// The settings file's lines as the documents give them, against the order the program reads them
// in: a file written from a document that lists them otherwise fails every migration.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/settings_file.h"
#include "tests/support/recording_message_display.h"

namespace mv {
namespace {

struct DocumentCase {
  const char* name;
  const char* path;  // from the source folder
  friend void PrintTo(const DocumentCase& c, std::ostream* out) { *out << c.name; }
};

/// The comma-separated names after the first "in this order:" of `text`, up to the full stop,
/// line breaks read as blanks.
std::vector<std::string> ListedLines(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  const std::string marker = "in this order:";
  const auto from = text.find(marker);
  if (from == std::string::npos) return {};
  const auto start = from + marker.size();
  std::istringstream list(text.substr(start, text.find('.', start) - start));
  std::vector<std::string> names;
  for (std::string name; std::getline(list, name, ',');) {
    const auto first = name.find_first_not_of(' ');
    names.push_back(name.substr(first, name.find_last_not_of(' ') - first + 1));
  }
  return names;
}

class SettingsOrderTest : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(SettingsOrderTest, ListsTheLinesInTheOrderTheProgramReadsThem) {
  const std::string text =
      testing::ReadFileBytes(std::string(MV_SOURCE_DIR) + "/" + GetParam().path);
  ASSERT_FALSE(text.empty()) << GetParam().path;
  EXPECT_EQ(ListedLines(text), SettingsLineNames());
}

INSTANTIATE_TEST_SUITE_P(Documents, SettingsOrderTest,
                         ::testing::Values(DocumentCase{"ManPage", "packaging/vantrel-migrate.1"},
                                           DocumentCase{"Readme", "README.md"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv

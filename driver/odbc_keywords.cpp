// The operator's ODBC keywords: read from a setting, from the environment, or as chosen.
#include "driver/odbc_keywords.h"

#include <array>
#include <string>
#include <utility>

#include "platform/environment.h"

namespace mv {
namespace {

// The keywords the program's connection string sets from the connection values.
constexpr std::array<std::string_view, 4> kConnectionValueKeys{"server", "uid", "pwd", "database"};

// The keywords a ChosenOdbcKeywords has chosen; none while no such choice is alive. Chosen
// before a run starts, read by the connections it opens.
std::optional<OdbcKeywords> chosenKeywords;

}  // namespace

OdbcKeywords ReadOdbcKeywords(std::string_view setting, std::string_view text) {
  return odbc::ReadConnectionKeywords(setting, text, kConnectionValueKeys);
}

OdbcKeywords OdbcKeywordsOfEnvironment() {
  const std::optional<std::string> setting = EnvironmentVariable(kOdbcKeywordsVariable);
  if (!setting) return {};
  return ReadOdbcKeywords(kOdbcKeywordsVariable, *setting);
}

OdbcKeywords OdbcKeywordsInUse() {
  return chosenKeywords ? *chosenKeywords : OdbcKeywordsOfEnvironment();
}

ChosenOdbcKeywords::ChosenOdbcKeywords(OdbcKeywords keywords)
    : previous_(std::exchange(chosenKeywords, std::move(keywords))) {}

ChosenOdbcKeywords::~ChosenOdbcKeywords() { chosenKeywords = std::move(previous_); }

}  // namespace mv

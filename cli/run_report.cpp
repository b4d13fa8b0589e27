// The run's summary lines, and its JSON report with each migration's result, time and counts.
#include "cli/run_report.h"

#include <nlohmann/json.hpp>

#include "platform/configuration/atomic_file.h"
#include "platform/text_file.h"

namespace mv {
namespace {

using Json = nlohmann::ordered_json;

/// `counts` as one JSON object, label by label in the order counted.
Json CountsObject(const std::vector<RunTally::Count>& counts) {
  Json object = Json::object();
  for (const RunTally::Count& count : counts) object[count.what] = count.count;
  return object;
}

/// The `verify` section of a verified migration: its counts, every finding, and why it ended
/// early (empty when it did not).
Json VerifySection(const VerificationAccount& account) {
  Json counts = Json::object();
  for (const VerificationAccount::Count& count : account.Counts()) {
    counts[count.label] = count.count;
  }
  Json findings = Json::array();
  for (const VerificationFinding& finding : account.Findings()) {
    findings.push_back({{"label", finding.label}, {"id", finding.id}, {"detail", finding.detail}});
  }
  return {{"counts", counts}, {"findings", findings}, {"ended", account.Ended()}};
}

const char* ResultText(const std::optional<bool>& succeeded) {
  if (!succeeded) return "not run";
  return *succeeded ? "no errors" : "errors found";
}

}  // namespace

void ReportedMessages::ShowMessage(const std::string& text) {
  report_.messages.push_back({text, {}});
  display_.ShowMessage(text);
}

void ReportedMessages::ShowMessageAbout(const std::string& text, const MessageDetail& detail) {
  report_.messages.push_back({text, detail.reason});
  display_.ShowMessageAbout(text, detail);
}

std::vector<std::string> SummaryLines(const RunReport& report, const RunTally& tally) {
  std::vector<std::string> lines =
      tally.Summary(report.rehearsal ? kRehearsalHeading : kRunHeading);
  lines.push_back("Log: " + report.logPath);
  return lines;
}

std::string ReportJson(const RunReport& report, const RunTally& tally) {
  Json migrations = Json::array();
  for (const MigrationOutcome& outcome : report.migrations) {
    const RunTally::Section counted = tally.CountedBy(outcome.name);
    migrations.push_back({{"name", outcome.name},
                          {"caption", outcome.caption},
                          {"result", ResultText(outcome.succeeded)},
                          {"seconds", outcome.seconds},
                          {"counts", CountsObject(counted.counts)},
                          {"rowsPerTable", CountsObject(counted.tableRows)}});
    for (const VerificationAccount& account : report.verifications) {
      if (account.Migration() == outcome.name) migrations.back()["verify"] = VerifySection(account);
    }
  }
  Json messages = Json::array();
  for (const ShownMessage& message : report.messages) {
    messages.push_back({{"text", message.text}, {"reason", message.reason}});
  }
  const Json json{{"program", "vantrel-migrate"}, {"version", report.version},
                  {"commit", report.commit},      {"rehearsal", report.rehearsal},
                  {"stopped", report.stopped},    {"exitStatus", report.exitStatus},
                  {"log", report.logPath},        {"migrations", migrations},
                  {"messages", messages}};
  return json.dump(2) + "\n";
}

void WriteReport(const std::string& path, const RunReport& report, const RunTally& tally) {
  WriteFileAtomically(PathFromUtf8(path), ReportJson(report, tally));
}

}  // namespace mv

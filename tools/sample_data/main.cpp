// sample_data: creates the demo or benchmark databases from the schema files and fills them
// with reproducible sample data through ODBC.
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "platform/process_locale.h"
#include "platform/runtime_error.h"
#include "tools/sample_data/sample_set.h"
#include "tools/setup/database_factory.h"
#include "tools/setup/schema_script.h"
// Sample-set headers:
#include "tools/sample_data/basket_samples.h"
#include "tools/sample_data/copydata_samples.h"
#include "tools/sample_data/order_samples.h"
#include "tools/sample_data/parameter_samples.h"

namespace {

using mv::samples::SampleSet;

std::vector<SampleSet> AllSampleSets() {
  return {
      // Sample sets, in the order they are written:
      {"parameters", mv::samples::FillParameterSamples},
      {"baskets", mv::samples::FillBasketSamples},
      {"orders", mv::samples::FillOrderSamples},
      {"copydata", mv::samples::FillCopyDataSamples},
  };
}

constexpr const char* kUsage =
    "usage: sample_data --schema DIR --server S --user U [--password P]\n"
    "                   --source DB --target DB --instance DB\n"
    "                   [--create] [--seed N] [--count N] [--only NAME[,NAME...]]\n"
    "  --create  creates the tables of the three databases from the schema files first\n"
    "  The engine is the one \"SQL Server\" is registered as; MV_TEST_ENGINE=postgresql\n"
    "  selects the PostgreSQL schema files.\n";

}  // namespace

int main(int argc, char** argv) {
  mv::PrepareProcessLocale();
  std::map<std::string, std::string> options;
  bool create = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--create") {
      create = true;
    } else if (arg.rfind("--", 0) == 0 && i + 1 < argc) {
      options[arg.substr(2)] = argv[++i];
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  for (const char* required : {"schema", "server", "user", "source", "target", "instance"}) {
    if (!options.count(required)) {
      std::cerr << "missing --" << required << "\n" << kUsage;
      return 2;
    }
  }
  try {
    const auto engine = mv::setup::EngineFromEnvironment();
    const auto connect = [&](const std::string& database) {
      return mv::OpenConnection(options["server"], options["user"], options["password"],
                                options[database]);
    };
    auto source = connect("source");
    auto target = connect("target");
    auto instance = connect("instance");
    if (create) {
      mv::setup::ApplySchema(*source, options["schema"], engine, "source");
      mv::setup::ApplySchema(*target, options["schema"], engine, "target");
      mv::setup::ApplySchema(*instance, options["schema"], engine, "instance");
    }
    mv::samples::SampleOptions sampleOptions;
    if (options.count("seed"))
      sampleOptions.seed = static_cast<std::uint32_t>(std::stoul(options["seed"]));
    if (options.count("count")) sampleOptions.count = std::stoi(options["count"]);
    const std::string only = options.count("only") ? "," + options["only"] + "," : "";
    mv::samples::SampleDatabases databases{*source, *target, *instance};
    for (const auto& set : AllSampleSets()) {
      if (!only.empty() && only.find("," + set.name + ",") == std::string::npos) continue;
      set.fill(databases, sampleOptions);
      std::cout << "sample data written: " << set.name << "\n";
    }
    // A live shop's database has statistics of its tables, which the engines gather as they
    // go; without them PostgreSQL reads a whole table where its key's index would answer.
    source->Execute("analyze");
  } catch (const mv::RuntimeError& error) {
    std::cerr << "sample_data: " << error.Number() << ": " << error.Description() << "\n";
    return 1;
  }
  return 0;
}

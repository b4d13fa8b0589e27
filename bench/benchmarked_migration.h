// The migrations the benchmark runs: their converters and the target tables they write.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/target_comparison.h"
#include "driver/converter.h"
#include "platform/odbc/connection.h"

namespace mv::bench {

struct BenchmarkedMigration {
  std::string name;
  std::function<std::unique_ptr<Converter>()> makeConverter;
  /// Writes into a new target what the migration reads there (the reference data of the
  /// 2.3 services).
  std::function<void(Connection& target)> prepareTarget;
  /// The target tables the migration writes, in the order it writes them.
  std::vector<ComparedTable> tables;
};

/// "baskets", "orders" or "copy"; throws std::invalid_argument for any other name.
const BenchmarkedMigration& FindMigration(const std::string& name);

}  // namespace mv::bench

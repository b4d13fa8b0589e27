// What every group of sample data gets: the three demo databases and the wanted size.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/odbc/connection.h"

namespace mv::samples {

struct SampleDatabases {
  Connection& source;    // the 2.2 shop database
  Connection& target;    // the 2.3 shop database (reference tables of the 2.3 services)
  Connection& instance;  // the "Kestrine" back-end instance database
};

struct SampleOptions {
  std::uint32_t seed = 22;  // the same seed gives the same rows
  int count = 20;           // how many records of each main kind (baskets, orders, rows per table)
};

/// One group of sample data and the function that writes it.
struct SampleSet {
  std::string name;
  std::function<void(SampleDatabases&, const SampleOptions&)> fill;
};

}  // namespace mv::samples

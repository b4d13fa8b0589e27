// DumpOrderforms: writes every stored 2.2 order form, entry by entry, into a text file.
#pragma once

#include <functional>
#include <string>

#include "platform/local_time.h"
#include "platform/text_file.h"
#include "platform/variant.h"

namespace mv {

/// Writes each order form of the source's ORDERLIST with its keys, values, type names and
/// order lines, so that an operator can see what the stored baskets hold.
class DumpOrderforms {
 public:
  /// `clock` gives the time of the "Dumped on " line.
  explicit DumpOrderforms(std::function<DateTime()> clock = LocalNow);

  /// The product's DumpOrderforms operation. Overwrites `sFileName`. Every value is written,
  /// also one without a text form of its own (Null, an array, an object inside an order line).
  /// A damaged order form is written as its order_id line and the damage's description, and
  /// the dump goes on; answers the number of such forms. Other errors (no connection, a file
  /// that cannot be created, an order form that cannot be loaded) end the dump and reach the
  /// caller; the file then holds what was written so far.
  int Dump(const std::string& SDBServer, const std::string& SUser, const std::string& SPassword,
           const std::string& SDB, const std::string& sFileName);

 private:
  void DumpOrderlines(const Variant& lines, TextWriter& stream);
  void DumpOrderline(const Variant& line, TextWriter& stream);
  void DumpValues(const Variant& object, TextWriter& stream);

  std::function<DateTime()> clock_;
};

}  // namespace mv

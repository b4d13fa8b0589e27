// ConvertParameters: the 2.2 parameter table into the 2.3 configuration store and the
// back-end order-export table.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "converters/parameters/parameter_routes.h"
#include "driver/converter.h"
#include "platform/configuration/configuration.h"
#include "platform/odbc/recordset.h"

namespace mv {

class ConvertParameters : public Converter {
 public:
  /// Creates the configuration component for one call.
  using ConfigurationFactory = std::function<std::unique_ptr<Configuration>()>;

  /// A converter that works on the configuration component `createConfiguration` makes.
  explicit ConvertParameters(ConfigurationFactory createConfiguration);
  /// A converter that works on this machine's installation (CreateConfiguration).
  ConvertParameters();

  /// Routes every SALESPARAMETER row to its store section or member, logging unknown names,
  /// then writes the back-end parameters. False when the pass stopped on an error (logged as
  /// "  Error(s) occured:" and one line) or the back-end step logged an error. A stop ends it
  /// after the store is written, or cancels the statement running then; either way it logs
  /// kStoppedByOperator last and answers false.
  bool Convert(const ConnectionValues& values, TextWriter& log) override;

  /// What the pass collects for the back-end table: five parameters that 2.3 keeps per back-end
  /// instance instead of in the store, with the values a shop without them gets.
  struct BackendParameters {
    std::int32_t OrderConfirmationType = 0;
    std::int32_t OrderCreationType = 0;
    std::string OrderConfirmationFile;
    std::string EdiEscapeSeparator = "'";
    std::string EdiFieldSeparator = "|";
  };
  /// How the pass into the store ended.
  struct StorePass {
    BackendParameters backend;
    bool parameterRefused = false;
    /// The line logged below "  Error(s) occured:" when an error ended the pass; empty when
    /// it ran to its end.
    std::string error;
  };

  /// Routes every SALESPARAMETER row to its store section (through the configuration
  /// component) or member, logging unknown names and refused values; an error ends the pass
  /// and is logged. The back-end table is not touched.
  StorePass ConvertStore(const ConnectionValues& values, TextWriter& log);
  /// The thirteen back-end columns from CONFIRMATIONFILENAME to PASSWORD, in the order they
  /// are assigned, with the values written into every ORDEREXPORTFILE row.
  static std::vector<std::pair<const char*, Variant>> BackendColumns(
      const BackendParameters& backend);

 private:
  /// Convert but for the stop's line: the pass into the store, then the back-end step unless
  /// the operator asked to stop.
  bool ConvertStoreAndBackend(const ConnectionValues& values, TextWriter& log);
  /// Converts PARAMVALUE `value` as `route` says and keeps it in the route's member.
  static void AssignMember(BackendParameters& backend, const ParameterRoute& route,
                           const Variant& value);
  /// Sets the thirteen back-end columns of the current row.
  static void AssignBackendColumns(const BackendParameters& backend, Recordset& exportFiles);
  /// Writes the five members into every ORDEREXPORTFILE row, or into a new first row when
  /// the table is empty. Logs its own errors; false when it logged one.
  bool ConvertBackendParameters(const BackendParameters& backend, const std::string& server,
                                const std::string& user, const std::string& password,
                                const std::string& database, TextWriter& log);
  /// The BISID of the default instance in "Kestrine", else of its first instance, else 1.
  /// An error is logged, sets `errorLogged` and leaves the value found so far.
  static std::int32_t GetDefaultBisId(const std::string& server, const std::string& user,
                                      const std::string& password, TextWriter& log,
                                      bool& errorLogged);

  ConfigurationFactory createConfiguration_;
};

}  // namespace mv

// The parameter migration: each SALESPARAMETER row into its store section or back-end member,
// then the back-end members into the ORDEREXPORTFILE rows, each step's errors logged.
#include "converters/parameters/convert_parameters.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "driver/convert_functions.h"
#include "driver/escaped_error.h"
#include "platform/configuration/xml_configuration.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"

namespace mv {
namespace {

constexpr const char* kApplicationName = "Vantrel";
constexpr const char* kStoreFileName = "VantrelConfiguration.xml";
constexpr const char* kInstanceDatabase = "Kestrine";
constexpr const char* kErrorsHeader = "  Error(s) occured:";

/// The store's path as the product builds it: folder, separator, file name, nothing trimmed.
std::string StorePath(const std::string& configurationFolder) {
  return configurationFolder + static_cast<char>(std::filesystem::path::preferred_separator) +
         kStoreFileName;
}

/// The name with leading and trailing blanks removed (other white space stays).
std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// The value as the store takes it for `conversion`.
Variant ConvertValue(ParameterConversion conversion, const Variant& value) {
  if (conversion == ParameterConversion::Integer) return Variant::Integer(value.ToInteger());
  return Variant::String(value.ToText());
}

/// The line that follows "  Error(s) occured:" for an error of the pass. A Null value reads
/// as empty text there, as it does when the runtime joins texts.
std::string PassErrorLine(const RuntimeError& error, const std::string& storePath,
                          const std::string& name, const Variant& value) {
  switch (error.Number()) {
    case errors::kPermissionDenied:
      return "    Access denied for configuration file " + storePath;
    case errors::kParameterNotFound:
      return "    Parameter '" + name + "' is not found " + "in configuration file " + storePath;
    case errors::kStoreNotLoaded:
      return "    " + ErrorOccuredLine("Configuration store not loaded");
    case errors::kInvalidParameterType:
      return "    Type of parameter '" + name + "' is not valid OR " +
             "the datatype of the new value '" + (value.IsNull() ? "" : value.ToText()) +
             "' is not equal to the type of the parameter";
    default:
      return "    " + error.Description();
  }
}

void LogBackendError(TextWriter& log, const RuntimeError& error) {
  log.WriteLine(kErrorsHeader);
  log.WriteLine("    " + error.Description());
}

}  // namespace

ConvertParameters::ConvertParameters(ConfigurationFactory createConfiguration)
    : createConfiguration_(std::move(createConfiguration)) {}

ConvertParameters::ConvertParameters() : ConvertParameters([] { return CreateConfiguration(); }) {}

void ConvertParameters::AssignMember(BackendParameters& backend, const ParameterRoute& route,
                                     const Variant& value) {
  const Variant converted = ConvertValue(route.conversion, value);
  switch (route.member) {
    case ParameterMember::OrderConfirmationType:
      backend.OrderConfirmationType = converted.ToInteger();
      break;
    case ParameterMember::OrderCreationType:
      backend.OrderCreationType = converted.ToInteger();
      break;
    case ParameterMember::OrderConfirmationFile:
      backend.OrderConfirmationFile = converted.AsString();
      break;
    case ParameterMember::EdiEscapeSeparator:
      backend.EdiEscapeSeparator = converted.AsString();
      break;
    case ParameterMember::EdiFieldSeparator:
      backend.EdiFieldSeparator = converted.AsString();
      break;
    case ParameterMember::None:
      break;
  }
}

bool ConvertParameters::Convert(const ConnectionValues& values, TextWriter& log) {
  const bool converted = ConvertStoreAndBackend(values, log);
  if (!converted && StopRequested()) log.WriteLine(kStoppedByOperator);
  return converted;
}

bool ConvertParameters::ConvertStoreAndBackend(const ConnectionValues& values, TextWriter& log) {
  const StorePass pass = ConvertStore(values, log);
  // The store is written: a stop ends the migration here, before the back-end step.
  if (!pass.error.empty() || StopRequested()) return false;
  return ConvertBackendParameters(pass.backend, values.TDBServer, values.TUser, values.TPassword,
                                  values.TDB, log) &&
         !pass.parameterRefused;
}

ConvertParameters::StorePass ConvertParameters::ConvertStore(const ConnectionValues& values,
                                                             TextWriter& log) {
  StorePass pass;
  bool ParametersWritten = false;
  std::string ConfigurationFolder;
  std::string name;
  Variant value;  // PARAMVALUE of the row being processed, as read
  std::unique_ptr<Configuration> configuration;
  Tally("written to the configuration store", 0);  // heads the migration's summary
  try {
    configuration = createConfiguration_();
    for (const ApplicationInstance& instance :
         configuration->GetApplicationInstances(kApplicationName)) {
      ConfigurationFolder = instance.folder;
    }
    auto connection = OpenConnection(values.SDBServer, values.SUser, values.SPassword, values.SDB);
    auto parameters = OpenRecordset(*connection, "SELECT * FROM SALESPARAMETER");
    configuration->LoadConfiguration(StorePath(ConfigurationFolder));
    for (; !parameters->Eof(); parameters->MoveNext()) {
      name = TrimBlanks(parameters->Field("PARAMNAME").ToText());
      const ParameterRoute* route = FindParameterRoute(name);
      if (route == nullptr) {
        log.WriteLine(
            ErrorOccuredLine("Parameter (of table) " + name + " not found in configuration file"));
        Tally("unknown parameter: " + name);
        continue;
      }
      value = parameters->Field("PARAMVALUE");
      if (HoldsNulCharacter(value)) {
        // Neither the store nor the target could take the text whole: the parameter is refused.
        log.WriteLine(ErrorOccuredLine(errors::NulInText("SALESPARAMETER.PARAMVALUE of " + name)));
        Tally("refused: holds a NUL character");
        pass.parameterRefused = true;
        continue;
      }
      if (route->member != ParameterMember::None) {
        AssignMember(pass.backend, *route, value);
        continue;
      }
      ParametersWritten = true;
      configuration->SetParameterValue(std::string(route->section), name,
                                       ConvertValue(route->conversion, value));
      Tally("written to the configuration store");
    }
    // Releasing the component writes the store; a store that cannot be written is an error.
    configuration->Release();
    configuration.reset();
    parameters.reset();
    connection.reset();
    if (ParametersWritten) {
      log.WriteLine(" Vantrel Parameter table copied/converted to configuration file");
      log.WriteLine(" " + StorePath(ConfigurationFolder) + ".");
      log.WriteLine(" Please restart Internet Information Service (run iisreset)");
      log.WriteLine(" to make the converted data effective.");
    }
  } catch (const RuntimeError& error) {
    configuration.reset();
    pass.error = PassErrorLine(error, StorePath(ConfigurationFolder), name, value);
    log.WriteLine(kErrorsHeader);
    log.WriteLine(pass.error);
    Tally("errors");
  }
  return pass;
}

std::vector<std::pair<const char*, Variant>> ConvertParameters::BackendColumns(
    const BackendParameters& backend) {
  std::vector<std::pair<const char*, Variant>> columns{
      {"CONFIRMATIONFILENAME", Variant::String(backend.OrderConfirmationFile)},
      {"USEFTP", Variant::Integer(0)},
      {"EXPORTMESSAGETYPE", Variant::Long(backend.OrderCreationType)},
      {"CONFIRMATIONMESSAGETYPE", Variant::Long(backend.OrderConfirmationType)},
      {"USEEDISEMAPHORE", Variant::Integer(0)},
      {"EDIFIELDSEPARATOR", Variant::String(backend.EdiFieldSeparator)},
      {"EDIESCAPESEPARATOR", Variant::String(backend.EdiEscapeSeparator)}};
  for (const char* column :
       {"SYSTEM", "SYSTEMPORT", "PROXYSERVER", "PROXYPORT", "LOGIN", "PASSWORD"}) {
    columns.emplace_back(column, Variant::String(""));
  }
  return columns;
}

void ConvertParameters::AssignBackendColumns(const BackendParameters& backend,
                                             Recordset& exportFiles) {
  for (const auto& [column, value] : BackendColumns(backend)) exportFiles.SetField(column, value);
}

bool ConvertParameters::ConvertBackendParameters(const BackendParameters& backend,
                                                 const std::string& server, const std::string& user,
                                                 const std::string& password,
                                                 const std::string& database, TextWriter& log) {
  bool bisIdErrorLogged = false;
  try {
    auto connection = OpenConnection(server, user, password, database);
    // A rehearsal writes the rows as a real run does, and rolls them back.
    std::optional<Transaction> rehearsal;
    if (Rehearsing()) rehearsal.emplace(*connection);
    auto exportFiles = OpenRecordset(*connection, "select * from ORDEREXPORTFILE");
    const bool tableWasEmpty = exportFiles->Bof() && exportFiles->Eof();
    std::int32_t bisId = 0;
    if (!tableWasEmpty) {
      exportFiles->MoveFirst();
      while (!exportFiles->Eof()) {
        AssignBackendColumns(backend, *exportFiles);
        exportFiles->UpdateBatch();
        Tally("ORDEREXPORTFILE rows updated");
        exportFiles->MoveNext();
      }
    } else {
      Tally("ORDEREXPORTFILE rows added");
      exportFiles->AddNew();
      bisId = GetDefaultBisId(server, user, password, log, bisIdErrorLogged);
      exportFiles->SetField("BISID", Variant::Long(bisId));
      exportFiles->SetField("FILENAME", Variant::String(""));
      AssignBackendColumns(backend, *exportFiles);
      exportFiles->UpdateBatch();
    }
    log.WriteLine(" ");
    log.WriteLine(" Vantrel Backend related Parameters copied/converted to ");
    log.WriteLine(" extended ORDEREXPORTFILE table.");
    if (tableWasEmpty) {
      log.WriteLine(" One record added with BISID " + std::to_string(bisId) +
                    " in ORDEREXPORTFILE ");
      log.WriteLine(" because ORDEREXPORTFILE table was empty.");
    }
    log.WriteLine(" Parameters 'Order Confirmation File', 'Order Creation Type', ");
    log.WriteLine(" 'Order Confirmation Type', 'EDI Field Separator' and ");
    log.WriteLine(" 'EDI Escape Separator' are now stored by Backend instance.");
    if (bisIdErrorLogged) Tally("errors");
    return !bisIdErrorLogged;
  } catch (const RuntimeError& error) {
    LogBackendError(log, error);
    Tally("errors");
    return false;
  }
}

std::int32_t ConvertParameters::GetDefaultBisId(const std::string& server, const std::string& user,
                                                const std::string& password, TextWriter& log,
                                                bool& errorLogged) {
  std::int32_t result = 1;
  try {
    auto connection = OpenConnection(server, user, password, kInstanceDatabase);
    auto instances =
        OpenRecordset(*connection, "select BISID from BISINSTANCE where DEFAULTBIS = 1");
    if (instances->Bof() && instances->Eof()) {
      instances = OpenRecordset(*connection, "select BISID from BISINSTANCE");
    }
    if (!(instances->Bof() && instances->Eof())) {
      instances->MoveFirst();
      if (!instances->Eof()) result = instances->Field("BISID").ToLong();
    }
  } catch (const RuntimeError& error) {
    LogBackendError(log, error);
    errorLogged = true;
  }
  return result;
}

}  // namespace mv

// VerifyParameters: the migration's pass run with a comparing configuration component, then
// the back-end values compared with each ORDEREXPORTFILE row.
#include "converters/parameters/verify_parameters.h"

#include <map>
#include <memory>
#include <utility>

#include "converters/parameters/convert_parameters.h"
#include "driver/convert_functions.h"
#include "driver/stored_value.h"
#include "platform/configuration/configuration_store.h"
#include "platform/configuration/xml_configuration.h"
#include "platform/errors.h"
#include "platform/odbc/row_reader.h"
#include "platform/unicode.h"

namespace mv {
namespace {

/// The configuration component as the verification hands it to the migration: the
/// installation's instances as they are, the store opened for reading only, and each value
/// the migration sets checked as the store checks it and compared, once the pass has set them
/// all, with what the file holds. The file is never written.
class ComparingConfiguration final : public Configuration {
 public:
  explicit ComparingConfiguration(VerificationAccount& account)
      : installation_(CreateConfiguration(true)), account_(account) {}

  void LoadConfiguration(const std::string& path) override {
    store_ = std::make_unique<ConfigurationStore>(PathFromUtf8(path), true);
  }

  void SetParameterValue(const std::string& section, const std::string& name,
                         const Variant& value) override {
    if (!store_) throw errors::StoreNotLoaded();
    const std::string id = section + "." + name;
    // What the file holds, read before the store in memory takes the value; a name set twice
    // keeps the later value, as the file would.
    written_.try_emplace(id, store_->Value(section, name), Variant());
    store_->SetValue(section, name, value);  // throws as for a run: undeclared, wrong type
    written_[id].second = value;
  }

  std::vector<ApplicationInstance> GetApplicationInstances(
      const std::string& application) override {
    return installation_->GetApplicationInstances(application);
  }

  /// Counts each value set equal or different; the store in memory is dropped.
  void Release() override {
    for (const auto& [id, values] : written_) {
      const auto& [stored, written] = values;
      if (stored.Kind() == written.Kind() && stored.ToText() == written.ToText()) {
        account_.Add(kVerifiedEqual);
      } else {
        account_.Find({kVerifiedDifferent, id,
                       "is " + ShownValue(stored) + ", would be " + ShownValue(written)});
      }
    }
    written_.clear();
    store_.reset();
  }

 private:
  std::unique_ptr<Configuration> installation_;
  VerificationAccount& account_;
  std::unique_ptr<ConfigurationStore> store_;
  /// Each parameter set, by "SECTION.name": the file's value and the value set last.
  std::map<std::string, std::pair<Variant, Variant>> written_;
};

/// Compares the back-end values with every ORDEREXPORTFILE row, one value at a time.
void VerifyBackendRows(Connection& target, const ConvertParameters::BackendParameters& backend,
                       VerificationAccount& account) {
  const auto columns = ConvertParameters::BackendColumns(backend);
  bool anyRow = false;
  for (RowReader rows(target, "select * from ORDEREXPORTFILE"); rows.Next();) {
    anyRow = true;
    const FieldRow& row = rows.Row();
    const std::string id = "ORDEREXPORTFILE row of BISID " + row.Field("BISID").ToText();
    for (const auto& [column, written] : columns) {
      const size_t at = row.Columns().Index(column);
      if (StoredAsWritten(written, row.FieldAt(at), row.Columns()[at])) {
        account.Add(kVerifiedEqual);
      } else {
        account.Find({kVerifiedDifferent, id,
                      std::string("ORDEREXPORTFILE.") + column + " is " +
                          ShownValue(row.FieldAt(at)) + ", would be " + ShownValue(written)});
      }
    }
  }
  if (!anyRow) account.Find({kVerifiedMissing, "ORDEREXPORTFILE", "the migration adds a row"});
}

}  // namespace

void VerifyParameters(const ConnectionValues& values, TextWriter& log, RunProgress& progress,
                      VerificationAccount& account) {
  ConvertParameters converter(
      [&account] { return std::make_unique<ComparingConfiguration>(account); });
  converter.SetProgress(progress, account.Migration());
  log.Hold();
  const ConvertParameters::StorePass pass = converter.ConvertStore(values, log);
  log.DropHeld();
  if (!pass.error.empty()) {
    // A run ends here too, before the back-end table.
    account.Find({kVerifiedUnreadable, "SALESPARAMETER",
                  pass.error.substr(pass.error.find_first_not_of(' '))});
    return;
  }
  const auto target = OpenConnection(values.TDBServer, values.TUser, values.TPassword, values.TDB);
  target->AskReadOnly();
  VerifyBackendRows(*target, pass.backend, account);
}

}  // namespace mv

#include "tools/sample_data/parameter_samples.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "platform/variant.h"

namespace mv::samples {
namespace {

struct Parameter {
  std::string name;
  std::string value;
};

std::vector<Parameter> SampleParameters(std::uint32_t seed) {
  std::mt19937 generator(seed);
  // A whole number from 0 to `bound` - 1, the same on every standard library.
  const auto below = [&generator](std::uint32_t bound) {
    return std::to_string(generator() % bound);
  };
  return {
      {"CyberSource Serverhost", "ics2.cybersource.example"},
      {"Authorization Hard Expiration", below(30)},
      {"Authorization Soft Expiration", below(10)},
      {"Reallocation", below(2)},
      {"Creditcard Ordertype for Backend", "CC"},
      {"BackendSalesOrderType BillingStepNumber", below(5)},
      {"InvoiceText", "Zahlbar innerhalb 30 Tagen – 2 % Skonto"},
      {"SalesOrderConfirmation", below(4)},
      {" SalesOrderCreation ", below(4)},
      {"Order Confirmation File", "confirm.txt"},
      {"EDI Escape Separator", "?"},
      {"EDI Field Separator", "+"},
      {"FreightPartNumber", "FREIGHT"},
      {"Freight Unit-code", "KG"},
      {"Multiple Ship-from Zones", "1"},
      {"Ship-from Zone", "2.5"},
      {"CreditCardUse", "1"},
      {"EnableFreight", "1"},
      {"HomeOrganisation", below(1000)},
      {"TaxSource", below(3)},
      {"  BIC Virtual Directory", "/bic"},
      {"SubmittedOrderListPage", "orderlist.asp"},
      // Names 2.3 no longer keeps: the migration reports them.
      {"Order Export Path", "c:\\export"},
      {"reallocation", "1"},
      {"ShowStockLevels", "0"},
  };
}

struct Instance {
  int bisId;
  const char* name;
  int isDefault;
};

constexpr Instance kInstances[] = {
    {3, "Backend Rotterdam", 0},
    {7, "Backend Hamburg", 1},
    {11, "Backend Lyon", 0},
};

}  // namespace

void FillParameterSamples(SampleDatabases& databases, const SampleOptions& options) {
  auto parameters = OpenRecordset(databases.source, "select * from SALESPARAMETER");
  for (const Parameter& parameter : SampleParameters(options.seed)) {
    parameters->AddNew();
    parameters->SetField("PARAMNAME", Variant::String(parameter.name));
    parameters->SetField("PARAMVALUE", Variant::String(parameter.value));
  }
  parameters->UpdateBatch();

  auto instances = OpenRecordset(databases.instance, "select * from BISINSTANCE");
  for (const Instance& instance : kInstances) {
    instances->AddNew();
    instances->SetField("BISID", Variant::Long(instance.bisId));
    instances->SetField("BISNAME", Variant::String(instance.name));
    instances->SetField("DEFAULTBIS",
                        Variant::Integer(static_cast<std::int16_t>(instance.isDefault)));
  }
  instances->UpdateBatch();
}

}  // namespace mv::samples

// The parameter pass: routing of SALESPARAMETER rows into the store and the members, the
// conversions, the not-found lines, and the error lines by number.
#include "converters/parameters/convert_parameters.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "tests/converters/parameters/parameters_fixture.h"
#include "tests/support/converter_run.h"
#include "tests/support/recording_message_display.h"

namespace mv::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kErrors = "  Error(s) occured:";

/// A component whose every SetParameterValue fails with one error, for the error numbers the
/// XML component cannot be made to raise here.
class FailingConfiguration : public Configuration {
 public:
  FailingConfiguration(long number, std::string description)
      : number_(number), description_(std::move(description)) {}
  void LoadConfiguration(const std::string&) override {}
  void SetParameterValue(const std::string&, const std::string&, const Variant&) override {
    throw RuntimeError(number_, description_);
  }
  std::vector<ApplicationInstance> GetApplicationInstances(const std::string&) override {
    return {{"First", "", "/first"}, {"Last", "", "/shop/last"}};
  }
  void Release() override {}

 private:
  long number_;
  std::string description_;
};

void ReplaceInFile(const std::string& path, const std::string& from, const std::string& to) {
  std::string text = ReadFileBytes(path);
  const auto at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  std::ofstream(fs::path(path), std::ios::binary) << text;
}

using ConvertParametersTest = ParametersTest;

TEST_F(ConvertParametersTest, EmptyParameterTableStillRunsTheBackendStep) {
  AddExportFile(3);
  const std::string before = ReadFileBytes(StorePath());
  EXPECT_TRUE(Run());
  EXPECT_EQ(log_, UpdatedRowsLines());
  EXPECT_EQ(ReadFileBytes(StorePath()), before);
  // None of the five names: the start values reach the back end.
  EXPECT_EQ(ExportRows().at(0), (ExportRow{"3", "orders3.txt", "/export/3", "", "0", "0", "0", "0",
                                           "|", "'", "", "", "", "", "", "", "5"}));
}

TEST_F(ConvertParametersTest, EveryKnownNameReachesItsSectionOrMemberWithItsConversion) {
  struct Row {
    const char* name;
    const char* value;
    const char* section;  // nullptr for the five member names
    const char* stored;
  };
  const Row rows[] = {
      {"CyberSource Serverhost", "ics2.example.com", "DIRECTPAYMENT_PARAMETERS",
       "ics2.example.com"},
      {"Authorization Hard Expiration", "2.5", "DIRECTPAYMENT_PARAMETERS", "2"},
      {"Authorization Soft Expiration", "3.5", "DIRECTPAYMENT_PARAMETERS", "4"},
      {"Reallocation", "-32768", "DIRECTPAYMENT_PARAMETERS", "-32768"},
      {"Creditcard Ordertype for Backend", "CC", "DIRECTPAYMENT_PARAMETERS", "CC"},
      {"BackendSalesOrderType BillingStepNumber", "32767.4", "DIRECTPAYMENT_PARAMETERS", "32767"},
      {"InvoiceText", "Zahlbar in 30 Tagen – 2 % Skonto", "DIRECTPAYMENT_PARAMETERS",
       "Zahlbar in 30 Tagen – 2 % Skonto"},
      {"SalesOrderConfirmation", "6.5", nullptr, nullptr},
      {"SalesOrderCreation", "7", nullptr, nullptr},
      {"Order Confirmation File", "confirm.txt", nullptr, nullptr},
      {"EDI Escape Separator", "?", nullptr, nullptr},
      {"EDI Field Separator", "+", nullptr, nullptr},
      {"FreightPartNumber", "FRT-01", "FREIGHT_PARAMETERS", "FRT-01"},
      {"Freight Unit-code", "KG", "FREIGHT_PARAMETERS", "KG"},
      {"Multiple Ship-from Zones", "1", "FREIGHT_PARAMETERS", "1"},
      {"Ship-from Zone", "12", "FREIGHT_PARAMETERS", "12"},
      {"CreditCardUse", "1", "GENERAL_PARAMETERS", "1"},
      {"EnableFreight", "0", "GENERAL_PARAMETERS", "0"},
      {"HomeOrganisation", "100", "GENERAL_PARAMETERS", "100"},
      {"TaxSource", "2", "GENERAL_PARAMETERS", "2"},
      {"BIC Virtual Directory", "/bic", "GENERAL_PARAMETERS", "/bic"},
      {"SubmittedOrderListPage", "orders.asp", "GENERAL_PARAMETERS", "orders.asp"},
  };
  for (const Row& row : rows) AddParameter(row.name, Variant::String(row.value));
  AddExportFile(1);

  EXPECT_TRUE(Run());
  EXPECT_EQ(log_, Joined(StoreWrittenLines(StorePath()), UpdatedRowsLines()));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.section) {
      EXPECT_EQ(StoredValue(row.section, row.name), row.stored);
    }
  }
  EXPECT_EQ(ExportRows().at(0), (ExportRow{"1", "orders1.txt", "/export/1", "confirm.txt", "0", "7",
                                           "6", "0", "+", "?", "", "", "", "", "", "", "5"}));
}

TEST_F(ConvertParametersTest, OnlyMemberNamesWriteNoStoreButReachTheBackEnd) {
  AddParameter("SalesOrderConfirmation", Variant::String("1"));
  AddParameter("SalesOrderCreation", Variant::String("4"));
  AddParameter("Order Confirmation File", Variant::String("conf.dat"));
  AddParameter("EDI Escape Separator", Variant::String("\\"));
  AddParameter("EDI Field Separator", Variant::String(";"));
  AddParameter("SalesOrderConfirmation", Variant::String("3"));  // the later row wins
  AddExportFile(2);
  const std::string before = ReadFileBytes(StorePath());

  EXPECT_TRUE(Run());
  EXPECT_EQ(log_, UpdatedRowsLines());
  EXPECT_EQ(ReadFileBytes(StorePath()), before);
  EXPECT_EQ(ExportRows().at(0), (ExportRow{"2", "orders2.txt", "/export/2", "conf.dat", "0", "4",
                                           "3", "0", ";", "\\", "", "", "", "", "", "", "5"}));
}

TEST_F(ConvertParametersTest, NamesThatDifferInCaseOrInnerBlanksAreReportedAndSkipped) {
  for (const char* name :
       {"reallocation", "Freight  Unit-code", "BackendSalesOrderType  BillingStepNumber",
        "BackendSalesOrderTypeBillingStepNumber", "  TaxSource  ", "ENABLEFREIGHT", "Unknown"}) {
    AddParameter(name, Variant::String("4"));
  }
  AddExportFile(1);

  EXPECT_TRUE(Run());
  const auto notFound = [](const std::string& name) {
    return "Error occured: Parameter (of table) " + name + " not found in configuration file";
  };
  EXPECT_EQ(log_, Joined(Joined({notFound("reallocation"), notFound("Freight  Unit-code"),
                                 notFound("BackendSalesOrderType  BillingStepNumber"),
                                 notFound("BackendSalesOrderTypeBillingStepNumber"),
                                 notFound("ENABLEFREIGHT"), notFound("Unknown")},
                                StoreWrittenLines(StorePath())),
                         UpdatedRowsLines()));
  EXPECT_EQ(StoredValue("GENERAL_PARAMETERS", "TaxSource"), "4");
  EXPECT_EQ(StoredValue("DIRECTPAYMENT_PARAMETERS", "Reallocation"), "0");
}

TEST_F(ConvertParametersTest, AValueHoldingANulIsRefusedAndTheOthersAreWritten) {
  if (source_.GetEngine() != setup::Engine::Sqlite) {
    GTEST_SKIP() << "only SQLite's text columns hold a NUL character among these engines";
  }
  AddParameter("BIC Virtual Directory", Variant::String("x"));
  AddParameter("TaxSource", Variant::String("4"));
  AddExportFile(1);
  source_.Connect()->Execute(
      "update SALESPARAMETER set PARAMVALUE = 'ab' || char(0) || 'cd' "
      "where PARAMNAME = 'BIC Virtual Directory'");

  EXPECT_FALSE(Run());

  EXPECT_EQ(log_, Joined(Joined({"Error occured: The value for SALESPARAMETER.PARAMVALUE of BIC "
                                 "Virtual Directory holds a NUL character and cannot be written "
                                 "whole"},
                                StoreWrittenLines(StorePath())),
                         UpdatedRowsLines()));
  EXPECT_EQ(StoredValue("GENERAL_PARAMETERS", "TaxSource"), "4");
}

TEST_F(ConvertParametersTest, AValueThatDoesNotConvertStopsThePassBeforeTheBackEnd) {
  struct Case {
    const char* name;
    Variant value;
    const char* line;
  };
  const Case cases[] = {
      {"Reallocation", Variant::String("abc"), "    Type mismatch"},
      {"Ship-from Zone", Variant::String("40000"), "    Overflow"},
      {"SalesOrderCreation", Variant::String("-32769"), "    Overflow"},
      {"TaxSource", Variant::Null(), "    Invalid use of Null"},
      {"InvoiceText", Variant::Null(), "    Invalid use of Null"},
  };
  AddExportFile(1);
  const ExportRow untouched = ExportRows().at(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    source_.Connect()->Execute("delete from SALESPARAMETER");
    AddParameter("CreditCardUse", Variant::String("1"));
    AddParameter(c.name, c.value);
    AddParameter("EnableFreight", Variant::String("1"));

    EXPECT_FALSE(Run());
    EXPECT_EQ(log_, (std::vector<std::string>{kErrors, c.line}));
    EXPECT_EQ(ExportRows().at(0), untouched);
  }
  // What was set before the failing row stays; the rows after it were never read.
  EXPECT_EQ(StoredValue("GENERAL_PARAMETERS", "CreditCardUse"), "1");
  EXPECT_EQ(StoredValue("GENERAL_PARAMETERS", "EnableFreight"), "0");
}

TEST_F(ConvertParametersTest, AValueOfAnotherTypeThanTheStoreDeclaresQuotesTheRawValue) {
  ReplaceInFile(StorePath(), R"(name="Reallocation" type="Integer")",
                R"(name="Reallocation" type="String")");
  AddParameter("  Reallocation ", Variant::String("2.50"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(log_, (std::vector<std::string>{
                      kErrors,
                      "    Type of parameter 'Reallocation' is not valid OR the datatype of "
                      "the new value '2.50' is not equal to the type of the parameter"}));
}

TEST_F(ConvertParametersTest, AParameterTheStoreDoesNotDeclareNamesTheStore) {
  ReplaceInFile(StorePath(), R"(<Parameter name="TaxSource" type="Integer" value="0" />)", "");
  AddParameter("TaxSource", Variant::String("1"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(log_, (std::vector<std::string>{kErrors,
                                            "    Parameter 'TaxSource' is not found "
                                            "in configuration file " +
                                                StorePath()}));
}

// The separator with which the migration joins a folder and the store's file name.
const std::string kSeparator(1, static_cast<char>(std::filesystem::path::preferred_separator));

TEST_F(ConvertParametersTest, WithoutAnApplicationInstanceTheStoreIsSoughtAtTheRoot) {
  WriteInstallation(R"(<Installation><Application name="Other"><Instance name="x" )"
                    R"(folder="instance"/></Application></Installation>)");
  AddParameter("TaxSource", Variant::String("1"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(log_, (std::vector<std::string>{kErrors, "    Configuration file '" + kSeparator +
                                                         "VantrelConfiguration.xml' not found"}));
}

TEST_F(ConvertParametersTest, AReadOnlyStoreIsReportedAsAccessDenied) {
  fs::permissions(StorePath(), fs::perms::owner_read | fs::perms::group_read);
  const std::string before = ReadFileBytes(StorePath());
  AddParameter("TaxSource", Variant::String("1"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(log_, (std::vector<std::string>{
                      kErrors, "    Access denied for configuration file " + StorePath()}));
  EXPECT_EQ(ReadFileBytes(StorePath()), before);
}

TEST_F(ConvertParametersTest, AStoreThatCannotBeWrittenAtReleaseFailsThePass) {
  fs::create_directory(StorePath() + ".tmp");
  AddExportFile(1);
  const ExportRow untouched = ExportRows().at(0);
  const std::string before = ReadFileBytes(StorePath());
  AddParameter("TaxSource", Variant::String("1"));
  EXPECT_FALSE(Run());
  EXPECT_EQ(log_, (std::vector<std::string>{
                      kErrors, "    Access denied for configuration file " + StorePath()}));
  EXPECT_EQ(ReadFileBytes(StorePath()), before);
  EXPECT_EQ(ExportRows().at(0), untouched);
}

TEST_F(ConvertParametersTest, ErrorLinesFollowTheErrorNumber) {
  struct Case {
    long number;
    std::string line;
  };
  const Case cases[] = {
      {70, "    Access denied for configuration file /shop/last" + kSeparator +
               "VantrelConfiguration.xml"},
      {-2147221489, "    Parameter 'TaxSource' is not found in configuration file /shop/last" +
                        kSeparator + "VantrelConfiguration.xml"},
      {-2147221485, "    Error occured: Configuration store not loaded"},
      {-2147221484,
       "    Type of parameter 'TaxSource' is not valid OR the datatype of the new value ' 7.0' "
       "is not equal to the type of the parameter"},
      {-2147221486, "    The component's own words"},
      {5, "    The component's own words"},
  };
  AddParameter(" TaxSource", Variant::String(" 7.0"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_FALSE(Run([&c] {
      return std::make_unique<FailingConfiguration>(c.number, "The component's own words");
    }));
    EXPECT_EQ(log_, (std::vector<std::string>{kErrors, c.line}));
  }
}

struct StopCase {
  const char* name;
  const char* parameter;
  const char* value;
  std::vector<std::string> logBeforeStop;  // "{store}" stands for the store's lines
  friend void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }
};

class ParametersStopTest : public ParametersTest, public ::testing::WithParamInterface<StopCase> {};

// The operator's stop, requested while the pass runs: its statements end as they would anyway
// or with the error of the one the stop cancelled (a value that does not convert stands for it).
TEST_P(ParametersStopTest, EndsBeforeTheBackEndWithTheStopLine) {
  const StopCase& c = GetParam();
  AddExportFile(1);
  const ExportRow untouched = ExportRows().at(0);
  AddParameter(c.parameter, Variant::String(c.value));
  StopAfterQuestions stopped(0);

  EXPECT_FALSE(Run({}, stopped));

  std::vector<std::string> expected;
  for (const std::string& line : c.logBeforeStop) {
    if (line == "{store}") {
      expected = Joined(expected, StoreWrittenLines(StorePath()));
    } else {
      expected.push_back(line);
    }
  }
  expected.push_back(kStoppedByOperator);
  EXPECT_EQ(log_, expected);
  EXPECT_EQ(ExportRows().at(0), untouched);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, ParametersStopTest,
    ::testing::Values(StopCase{"AfterTheStoreIsWritten", "CreditCardUse", "1", {"{store}"}},
                      StopCase{"WhenAStatementFailsThePass",
                               "Reallocation",
                               "abc",
                               {kErrors, "    Type mismatch"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv::testing

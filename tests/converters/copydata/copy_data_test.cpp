// The remaining-data copy on real databases: renumbering, translated references, the stops
// at filled tables and errors, whole-table rollback, and the exact log lines.
#include "converters/copydata/copy_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <regex>
#include <string>
#include <vector>

#include "driver/convert_functions.h"
#include "platform/regional_settings.h"
#include "tests/support/converter_run.h"
#include "tests/support/copied_tables.h"
#include "tests/support/insert_statements.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"
#include "tools/sample_data/copydata_samples.h"

namespace mv {
namespace {

using testing::ReadFileBytes;
using testing::TempFolder;
using testing::TestDatabase;

/// A small 2.2 shop: zone keys 5, 9, 17, 23 and freight groups 500, 505, with references to
/// each and to keys no row has (99, 777); refundlog and merchantidbycurrency stay empty.
const std::vector<std::string> kShop{
    "insert into zones values (5, 'Domestic', 'Home country')",
    "insert into zones values (9, 'EU North', NULL)",
    "insert into zones values (17, 'EU South', 'Mediterranean')",
    "insert into zones values (23, 'World', 'Everywhere else')",
    "insert into countriesbyzone values (17, 'IT')",
    "insert into countriesbyzone values (5, 'NL')",
    "insert into countriesbyzone values (99, 'US')",
    "insert into freightgroup values (500, 'Letter')",
    "insert into freightgroup values (505, 'Parcel')",
    "insert into freightproduct values ('VT-000001', 505)",
    "insert into freightproduct values ('VT-000002', 777)",
    "insert into freightprice values (1, 500, 23, 9, 0, 2.5, 'EUR', 12.5)",
    "insert into authorizationlog values (1, 'ORD-1', '2002-03-04 10:11:12', 99.95, 'EUR', '00', "
    "'Approved')",
    "insert into billinglog values (7, 'ORD-1', '2002-03-05 08:00:00', 99.95, 'EUR', 2)",
    "insert into addresshistory values (3, 'SHOPPER1', 'de Vries', 'Kerkweg 1', 'Utrecht', "
    "'3511', 'NL', 17, 'Home', '2001-12-31 23:59:59')",
    "insert into productprice values (1, 'VT-000001', 'EUR', 4.75, 9)",
    "insert into customerprice values (1, 'CUST1', 'VT-000002', 'USD', 3.1, "
    "'2002-01-01 00:00:00', 5)",
};

void ExecuteAll(Connection& connection, const std::vector<std::string>& statements) {
  for (const auto& statement : statements) connection.Execute(statement);
}

class CopyDataTest : public ::testing::Test {
 protected:
  CopyDataTest() { ExecuteAll(*source_.Connect(), kShop); }

  bool Copy() { return Copy(testing::ValuesFor(source_, target_)); }
  bool Copy(const ConnectionValues& values, bool resumeCopy = false) {
    CopyData converter(resumeCopy);
    return testing::RunConverter(converter, values, logPath_);
  }
  std::string Log() const { return testing::WithoutTargetDialectLines(ReadFileBytes(logPath_)); }

  /// The rows of `sql` on the target, each as its values' texts joined by '|'.
  std::vector<std::string> Target(const std::string& sql) const { return Rows(target_, sql); }
  static std::vector<std::string> Rows(const TestDatabase& database, const std::string& sql) {
    const auto connection = database.Connect();
    const auto rows = OpenRecordset(*connection, sql);
    std::vector<std::string> texts;
    for (; !rows->Eof(); rows->MoveNext()) {
      std::string text;
      for (const auto& name : rows->FieldNames()) {
        const Variant& value = rows->Field(name);
        text += (text.empty() ? "" : "|") + (value.IsNull() ? "Null" : value.ToText());
      }
      texts.push_back(text);
    }
    return texts;
  }

  std::vector<long> TargetCounts() const { return testing::CopiedTableCounts(target_); }

  ScopedRegionalSettings iso_{{"%Y-%m-%d", "%H:%M:%S", '.'}};
  TestDatabase source_{"source"};
  TestDatabase target_{"target"};
  TempFolder folder_;
  std::string logPath_ = folder_.File("Vantrel23Conversion.log");
};

TEST_F(CopyDataTest, TheLogNamesTheTargetsEngineAndDialectOnceFirst) {
  ASSERT_TRUE(Copy());
  const std::vector<std::string> lines = testing::LogLines(logPath_);
  const std::string dialect =
      target_.GetEngine() == setup::Engine::Postgresql ? "PostgreSQL" : "SQLite";
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "The target database names itself '" + target_.Connect()->EngineName() +
                               "': it is written in " + dialect + " statements.");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), testing::IsTargetDialectLine), 1);
}

TEST_F(CopyDataTest, AmountsBeyondCurrencyAndMillisecondsCopyExactly) {
  ExecuteAll(*source_.Connect(),
             {"insert into billinglog values (8, 'A', '2002-03-05 08:00:00.5', "
              "922337203685477.5807, 'EUR', 1)",
              "insert into billinglog values (9, 'B', '2002-03-05 08:00:00.123', "
              "922337203685477.5808, 'EUR', 1)",
              "insert into billinglog values (10, 'C', NULL, 999999999999999.9999, 'EUR', 1)",
              "insert into billinglog values (11, 'D', NULL, -999999999999999.9999, 'EUR', 1)"});
  ASSERT_TRUE(Copy());
  const auto rows = [](const TestDatabase& database, const std::string& sql) {
    const auto connection = database.Connect();
    std::vector<std::string> texts;
    for (auto row = OpenRecordset(*connection, sql); !row->Eof(); row->MoveNext()) {
      const Variant& stamp = row->Field("STAMP");
      texts.push_back(row->Field("AMOUNT").ToText() + "|" + (stamp.IsNull() ? "" : stamp.ToText()));
    }
    return texts;
  };
  // Whatever the engine gives of a value (SQLite's driver gives 15 digits of a number), the
  // target gives the same.
  const std::string values =
      "select AMOUNT, BILLINGDATE as STAMP from billinglog where BILLINGID > 7 order by BILLINGID";
  EXPECT_EQ(rows(target_, values), rows(source_, values));
  if (source_.GetEngine() == setup::Engine::Postgresql) {
    const std::string texts =
        "select cast(AMOUNT as varchar(30)) as AMOUNT, cast(BILLINGDATE as varchar(30)) as STAMP "
        "from billinglog where BILLINGID > 7 order by BILLINGID";
    EXPECT_EQ(rows(target_, texts),
              (std::vector<std::string>{"922337203685477.5807|2002-03-05 08:00:00.5",
                                        "922337203685477.5808|2002-03-05 08:00:00.123",
                                        "999999999999999.9999|", "-999999999999999.9999|"}));
  }
}

TEST_F(CopyDataTest, CopiesEveryTableWithRenumberedZonesAndFreightGroups) {
  ASSERT_TRUE(Copy());
  EXPECT_EQ(Log(), "");

  struct Expected {
    const char* sql;
    std::vector<std::string> rows;
  };
  const Expected expected[] = {
      {"select * from zones order by ZONEID",
       {"1|Domestic|Home country", "2|EU North|Null", "3|EU South|Mediterranean",
        "4|World|Everywhere else"}},
      {"select COUNTRYCODE, ZONEID from countriesbyzone order by COUNTRYCODE",
       {"IT|3", "NL|1", "US|0"}},
      {"select * from freightgroup order by FREIGHTGROUPID", {"1|Letter", "2|Parcel"}},
      {"select * from freightproduct order by PARTNUMBER", {"VT-000001|2", "VT-000002|0"}},
      {"select * from freightprice", {"1|1|4|2|0|2.5|EUR|12.5"}},
      {"select * from authorizationlog", {"1|ORD-1|2002-03-04 10:11:12|99.95|EUR|00|Approved"}},
      {"select * from billinglog", {"7|ORD-1|2002-03-05 08:00:00|99.95|EUR|2"}},
      {"select * from refundlog", {}},
      {"select * from merchantidbycurrency", {}},
      {"select * from addresshistory",
       {"3|SHOPPER1|de Vries|Kerkweg 1|Utrecht|3511|NL|3|2001-12-31 23:59:59"}},
      {"select * from productprice", {"1|VT-000001|EUR|4.75|2"}},
      {"select * from customerprice", {"1|CUST1|VT-000002|USD|3.1|2002-01-01|1"}},
  };
  for (const auto& table : expected) EXPECT_EQ(Target(table.sql), table.rows) << table.sql;
}

TEST_F(CopyDataTest, ReferencesFollowTheKeysTheTargetGaveEvenWhenItDoesNotStartAtOne) {
  // A zone key the target drew and gave up: the next zone it numbers is 2. The shop's own keys
  // 1, 2, 3 are never written, so they cannot clash with the target's numbering.
  const auto target = target_.Connect();
  ExecuteAll(*target, {"insert into zones (ZONENAME) values ('Removed')", "delete from zones"});
  ExecuteAll(*source_.Connect(),
             {"delete from zones", "insert into zones values (1, 'A', NULL)",
              "insert into zones values (2, 'B', NULL)", "insert into zones values (3, 'C', NULL)",
              "update countriesbyzone set ZONEID = 3 where COUNTRYCODE = 'IT'"});

  ASSERT_TRUE(Copy());

  EXPECT_EQ(Target("select * from zones order by ZONEID"),
            (std::vector<std::string>{"2|A|Null", "3|B|Null", "4|C|Null"}));
  EXPECT_EQ(Target("select z.ZONENAME from countriesbyzone c join zones z on z.ZONEID = c.ZONEID "
                   "where c.COUNTRYCODE = 'IT'"),
            (std::vector<std::string>{"C"}));
}

TEST_F(CopyDataTest, RenumberedRowsGoOutOneInsertEachAndEveryReferenceFindsItsRow) {
  // Zones and freight groups that the source holds in another order than their keys.
  ExecuteAll(*source_.Connect(), {"delete from zones", "delete from freightgroup",
                                  "insert into zones values (23, 'World', NULL)",
                                  "insert into zones values (5, 'Domestic', NULL)",
                                  "insert into zones values (17, 'EU South', NULL)",
                                  "insert into zones values (9, 'EU North', NULL)",
                                  "insert into freightgroup values (505, 'Parcel')",
                                  "insert into freightgroup values (500, 'Letter')"});
  const bool countsStatements = target_.GetEngine() == setup::Engine::Postgresql;
  if (countsStatements) {
    const auto target = target_.Connect();
    for (const char* table : {"zones", "freightgroup", "countriesbyzone"}) {
      testing::CountInsertStatements(*target, table);
    }
  }

  ASSERT_TRUE(Copy());

  // Every reference names the same zone or freight group in the target as in the source.
  const std::string zones = "select ZONEID as ID, ZONENAME as NAME from zones";
  const std::string groups = "select FREIGHTGROUPID as ID, DESCRIPTION as NAME from freightgroup";
  struct Reference {
    const char* table;
    const char* key;
    const char* column;
    const std::string& named;
  };
  for (const Reference& reference :
       {Reference{"countriesbyzone", "COUNTRYCODE", "ZONEID", zones},
        Reference{"freightproduct", "PARTNUMBER", "FREIGHTGROUPID", groups},
        Reference{"freightprice", "FREIGHTPRICEID", "FREIGHTGROUPID", groups},
        Reference{"freightprice", "FREIGHTPRICEID", "SHIPFROMZONEID", zones},
        Reference{"freightprice", "FREIGHTPRICEID", "SHIPTOZONEID", zones},
        Reference{"addresshistory", "ADDRESSID", "ZONEID", zones},
        Reference{"productprice", "PRODUCTPRICEID", "SHIPFROMZONE", zones},
        Reference{"customerprice", "CUSTOMERPRICEID", "SHIPFROMZONEID", zones}}) {
    const std::string sql = std::string("select r.") + reference.key + ", n.NAME from " +
                            reference.table + " r left join (" + reference.named +
                            ") n on n.ID = r." + reference.column + " order by r." + reference.key;
    EXPECT_EQ(Target(sql), Rows(source_, sql)) << sql;
  }
  if (countsStatements) {
    const auto target = target_.Connect();
    EXPECT_EQ(testing::InsertStatements(*target, "zones"), 4);
    EXPECT_EQ(testing::InsertStatements(*target, "freightgroup"), 2);
    // The other tables' rows still go out many to an insert.
    EXPECT_EQ(testing::InsertStatements(*target, "countriesbyzone"), 1);
  }
}

struct StopCase {
  const char* name;
  std::vector<std::string> targetStatements;
  std::vector<std::string> sourceStatements;
  std::string log;
  std::vector<long> counts;  // rows in the target tables afterwards, in copy order
  bool resumeCopy = false;
  bool copiedBefore = false;  // a whole copy ran before the statements
};

void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }

class CopyDataStopTest : public CopyDataTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(CopyDataStopTest, KeepsEarlierTables) {
  if (GetParam().copiedBefore) {
    ASSERT_TRUE(Copy());
  }
  ExecuteAll(*target_.Connect(), GetParam().targetStatements);
  ExecuteAll(*source_.Connect(), GetParam().sourceStatements);

  EXPECT_FALSE(Copy(testing::ValuesFor(source_, target_), GetParam().resumeCopy));

  EXPECT_EQ(Log(), GetParam().log);
  EXPECT_EQ(TargetCounts(), GetParam().counts);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, CopyDataStopTest,
    ::testing::Values(
        StopCase{"FilledZones",
                 {"insert into zones (ZONENAME) values ('Existing')"},
                 {},
                 "Table zones is already filled, data is not copied\r\n",
                 {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        StopCase{"FilledFreightprice",
                 {"insert into freightprice values (9, 1, 1, 1, 0, 1, 'EUR', 1)"},
                 {},
                 "Table freightprice is already filled, data is not copied\r\n",
                 {4, 3, 2, 2, 1, 0, 0, 0, 0, 0, 0, 0}},
        StopCase{"AddresshistoryLacksAColumn",
                 {"drop table addresshistory",
                  "create table addresshistory (ADDRESSID INTEGER NOT NULL PRIMARY KEY, "
                  "SHOPPERID VARCHAR(40) NOT NULL, NAME VARCHAR(100), STREET VARCHAR(100), "
                  "POSTALCODE VARCHAR(10), COUNTRYCODE VARCHAR(3), ZONEID INTEGER, "
                  "CHANGEDATE TIMESTAMP)"},
                 {},
                 "3265: Item cannot be found in the collection corresponding to the requested "
                 "name or ordinal.\r\n",
                 {4, 3, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0}},
        StopCase{"NullZoneReference",
                 {},
                 {"insert into addresshistory values (4, 'SHOPPER2', 'Smith', NULL, NULL, NULL, "
                  "'GB', NULL, NULL, NULL)"},
                 "94: Invalid use of Null\r\n",
                 {4, 3, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0}},
        StopCase{"ResumeFindsAFilledTableOfAnotherSize",
                 {"insert into zones (ZONENAME) values ('Existing')"},
                 {},
                 "Table zones is already filled, data is not copied\r\n",
                 {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 true},
        StopCase{"ResumeFindsAFilledTableAfterAGap",
                 {"delete from countriesbyzone"},
                 {},
                 "Table zones is already copied (4 rows), data is not copied again\r\n"
                 "Table freightgroup is already filled, data is not copied\r\n",
                 {4, 3, 2, 2, 1, 1, 1, 0, 0, 1, 1, 1},
                 true,
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

/// The operator's stop: made before the copy starts, or while a table is being written, whose
/// statement the stop cancels (a filled table stands for its failure).
struct StopLineCase {
  const char* name;
  int questionsBeforeStop;
  std::vector<std::string> targetStatements;
  std::string log;
};

void PrintTo(const StopLineCase& c, std::ostream* out) { *out << c.name; }

class CopyDataStopLineTest : public CopyDataTest,
                             public ::testing::WithParamInterface<StopLineCase> {};

TEST_P(CopyDataStopLineTest, EndsWithTheStopLine) {
  ExecuteAll(*target_.Connect(), GetParam().targetStatements);
  testing::StopAfterQuestions stop(GetParam().questionsBeforeStop);
  CopyData converter(false);
  converter.SetProgress(stop, "Copy Remaining Data");

  EXPECT_FALSE(testing::RunConverter(converter, testing::ValuesFor(source_, target_), logPath_));

  EXPECT_EQ(Log(), GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Stops, CopyDataStopLineTest,
    ::testing::Values(
        StopLineCase{"BeforeTheFirstTable", 0, {}, "Migration stopped by the operator.\r\n"},
        StopLineCase{"WhileATableIsWritten",
                     1,
                     {"insert into zones (ZONENAME) values ('Existing')"},
                     "Table zones is already filled, data is not copied\r\n"
                     "Migration stopped by the operator.\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

/// One line "number: description", the shape of every error line of the copy.
void ExpectOneErrorLine(const std::string& log) {
  EXPECT_TRUE(std::regex_match(log, std::regex("-?[0-9]+: [^\r\n]+\r\n"))) << log;
}

TEST_F(CopyDataTest, TextHoldingANulStopsTheCopyAtItsTable) {
  if (source_.GetEngine() != setup::Engine::Sqlite) {
    GTEST_SKIP() << "only SQLite's text columns hold a NUL character among these engines";
  }
  ExecuteAll(*source_.Connect(),
             {"update zones set DESCRIPTION = 'ab' || char(0) || 'cd' where ZONEID = 17"});

  EXPECT_FALSE(Copy());

  EXPECT_EQ(Log(),
            "5: The value for zones.DESCRIPTION holds a NUL character and cannot be written "
            "whole\r\n");
  EXPECT_EQ(TargetCounts(), std::vector<long>(12, 0));
}

TEST_F(CopyDataTest, FailedTableIsRolledBackWholeAndARerunCopiesIt) {
  // The third zone repeats the first one's name: the target refuses it after two rows of the
  // batch were written, and neither of them may stay.
  ExecuteAll(*target_.Connect(), {"create unique index zones_name on zones (ZONENAME)"});
  const auto source = source_.Connect();
  ExecuteAll(*source, {"update zones set ZONENAME = 'Domestic' where ZONEID = 17"});

  EXPECT_FALSE(Copy());
  ExpectOneErrorLine(Log());
  EXPECT_EQ(TargetCounts(), (std::vector<long>(12, 0)));

  ExecuteAll(*source, {"update zones set ZONENAME = 'EU South' where ZONEID = 17"});
  const std::string firstLog = Log();
  EXPECT_TRUE(Copy());
  EXPECT_EQ(Log(), firstLog);
  EXPECT_EQ(TargetCounts(), (std::vector<long>{4, 3, 2, 2, 1, 1, 1, 0, 0, 1, 1, 1}));
  EXPECT_EQ(Target("select c.COUNTRYCODE, z.ZONENAME from countriesbyzone c join zones z on "
                   "z.ZONEID = c.ZONEID order by c.COUNTRYCODE"),
            (std::vector<std::string>{"IT|EU South", "NL|Domestic"}));
}

TEST_F(CopyDataTest, ResumedCopyAfterAFailureInTable10GivesTheTargetOfAWholeCopy) {
  // A zone whose row comes last but whose key comes first, referred to by an address; and an
  // address without a zone, which stops the copy in addresshistory.
  const auto source = source_.Connect();
  ExecuteAll(*source, {"insert into zones values (2, 'Islands', NULL)",
                       "insert into addresshistory values (4, 'SHOPPER2', 'Smith', NULL, NULL, "
                       "NULL, 'GB', 2, NULL, NULL)",
                       "insert into addresshistory values (5, 'SHOPPER3', 'Jones', NULL, NULL, "
                       "NULL, 'GB', NULL, NULL, NULL)"});
  ASSERT_FALSE(Copy());
  ASSERT_EQ(TargetCounts(), (std::vector<long>{5, 3, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0}));
  ExecuteAll(*source, {"delete from addresshistory where ADDRESSID = 5"});

  EXPECT_TRUE(Copy(testing::ValuesFor(source_, target_), true));

  std::string kept = "94: Invalid use of Null\r\n";
  for (const char* table : {"zones 5", "countriesbyzone 3", "freightgroup 2", "freightproduct 2",
                            "freightprice 1", "authorizationlog 1", "billinglog 1"}) {
    const std::string text = table;
    const size_t blank = text.find(' ');
    kept += "Table " + text.substr(0, blank) + " is already copied (" + text.substr(blank + 1) +
            " rows), data is not copied again\r\n";
  }
  EXPECT_EQ(Log(), kept);
  const TestDatabase whole("target");
  ASSERT_TRUE(Copy(testing::ValuesFor(source_, whole)));
  for (const char* table : testing::kCopiedTables) {
    const std::string sql = std::string("select * from ") + table + " order by 1, 2";
    EXPECT_EQ(Target(sql), Rows(whole, sql)) << table;
  }
}

TEST_F(CopyDataTest, ConnectionThatCannotBeOpenedIsLoggedInOneLine) {
  ConnectionValues values = testing::ValuesFor(source_, target_);
  values.TDB = target_.GetEngine() == setup::Engine::Sqlite ? folder_.File("missing") + "/target.db"
                                                            : "mv_no_such_database";

  EXPECT_FALSE(Copy(values));

  ExpectOneErrorLine(Log());
  EXPECT_EQ(TargetCounts(), (std::vector<long>(12, 0)));
}

TEST_F(CopyDataTest, SampleDataCopiesCompletelyWithUnknownZonesAsZero) {
  const TestDatabase sampleSource("source");
  {
    const auto source = sampleSource.Connect();
    const auto target = target_.Connect();
    samples::SampleDatabases databases{*source, *target, *target};
    samples::FillCopyDataSamples(databases, {7, 40});
  }

  EXPECT_TRUE(Copy(testing::ValuesFor(sampleSource, target_)));

  EXPECT_EQ(Log(), "");
  EXPECT_EQ(TargetCounts(), (std::vector<long>{40, 40, 40, 40, 40, 40, 40, 40, 24, 40, 40, 40}));
  const auto references = Target(
      "select ZONEID from countriesbyzone union all select SHIPFROMZONEID from freightprice "
      "union all select SHIPTOZONEID from freightprice union all select ZONEID from "
      "addresshistory union all select SHIPFROMZONE from productprice union all select "
      "SHIPFROMZONEID from customerprice");
  long unknown = 0;
  for (const auto& reference : references) {
    const long zone = std::stol(reference);
    EXPECT_TRUE(zone >= 0 && zone <= 40) << zone;
    unknown += zone == 0;
  }
  EXPECT_GT(unknown, 0);
  EXPECT_LT(unknown, static_cast<long>(references.size()) / 4);
}

}  // namespace
}  // namespace mv

// Basket migrations that meet trouble: reruns, a target that rejects a basket, a failure in
// the middle of a basket, damaged order forms, rows without id and a storage that cannot be
// initialised.
#include "converters/baskets/convert_baskets.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/orderform/order_form_format.h"
#include "platform/utilities/sql_encode.h"
#include "tests/converters/baskets/basket_test_fixture.h"
#include "tests/support/converter_run.h"
#include "tests/support/locked_table.h"
#include "tests/support/scoped_environment.h"
#include "tools/sample_data/order_list_writer.h"

namespace mv::testing {
namespace {

TEST_F(ConvertBasketsTest, RerunSkipsConvertedBasketsAndReportsRejectedOnesAgain) {
  auto rejected = ValidBasket("B-2", 1);
  rejected->Set("shopper_id", Variant::Null());
  Store({ValidBasket("B-1", 2), rejected, ValidBasket("O'Neil-3", 1)});
  ASSERT_TRUE(Run());
  const std::string firstRun = Log();
  EXPECT_EQ(firstRun, LogText({"OrderID: B-1", "     LineNr:0", "     LineNr:1", "OrderID: B-2",
                               "     ShopperID was not filled.", "     LineNr:0",
                               "     Basket was not converted...", "OrderID: O'Neil-3",
                               "     LineNr:0", Summary(2)}));

  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(),
            firstRun + LogText({"OrderID: B-2", "     ShopperID was not filled.", "     LineNr:0",
                                "     Basket was not converted...", Summary(0)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "O'Neil-3"}));
  EXPECT_EQ(Target("SELECT * FROM BASKETLINE").size(), 3u);
}

TEST_F(ConvertBasketsTest, TargetRejectingTheThirdHeaderEndsTheRunAfterTwo) {
  auto duplicate = ValidBasket("B-1", 1);  // stored as B-3, but its header repeats B-1's key
  Store({ValidBasket("B-1", 1), ValidBasket("B-2", 1)});
  AppendOrderListRows(*source_.Connect(), {{"B-3", EncodeOrderForm(*duplicate)}});

  EXPECT_FALSE(Run());

  const std::string expectedStart = LogText({"OrderID: B-1", "     LineNr:0", "OrderID: B-2",
                                             "     LineNr:0", "OrderID: B-1", "     LineNr:0"});
  const std::string log = Log();
  ASSERT_EQ(log.substr(0, expectedStart.size()), expectedStart);
  const std::string last = log.substr(expectedStart.size());
  EXPECT_EQ(last.rfind("Error occured: ", 0), 0u) << last;
  EXPECT_EQ(last.find("\r\n"), last.size() - 2) << "one line, then nothing: " << last;
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2"}));
  EXPECT_EQ(Target("SELECT * FROM BASKETLINE").size(), 2u);
}

TEST_F(ConvertBasketsTest, FailureInsideABasketLeavesNothingOfItAndARerunConvertsIt) {
  // A line the target already holds makes the second line of B-2 fail after its header and
  // first line were written.
  const auto target = target_.Connect();
  target->Execute(
      "INSERT INTO BASKETLINE (BASKETID, BASKETLINENR, SKU, QUANTITY, REQUESTDATE, "
      "PRODUCTCONFIGURABLE, PRODUCTCONFIGID, PRODUCTCONFIGCOMPLETE) VALUES ('B-2', 2, "
      "'STRAY', 1, " +
      SQLEncodeDate(kOrderDate) + ", 0, Null, 0)");
  Store({ValidBasket("B-1", 1), ValidBasket("B-2", 3), ValidBasket("B-3", 1)});

  EXPECT_FALSE(Run());

  const std::string firstRun = Log();
  const std::string expectedStart = LogText({"OrderID: B-1", "     LineNr:0", "OrderID: B-2",
                                             "     LineNr:0", "     LineNr:1", "     LineNr:2"});
  ASSERT_EQ(firstRun.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(firstRun.find("Error occured: "), expectedStart.size());
  EXPECT_EQ(HeaderIds(), std::vector<std::string>{"B-1"});
  EXPECT_EQ(Target("SELECT BASKETID, SKU FROM BASKETLINE WHERE BASKETID = 'B-2'").size(), 1u);

  target->Execute("DELETE FROM BASKETLINE WHERE SKU = 'STRAY'");
  EXPECT_TRUE(Run());

  EXPECT_EQ(Log(),
            firstRun + LogText({"OrderID: B-2", "     LineNr:0", "     LineNr:1", "     LineNr:2",
                                "OrderID: B-3", "     LineNr:0", Summary(2)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2", "B-3"}));
  EXPECT_EQ(Target("SELECT SKU FROM BASKETLINE WHERE BASKETID = 'B-2'").size(), 3u);
}

TEST_F(ConvertBasketsTest, DamagedOrderFormsAreLoggedAndSkippedAndTheRunAnswersFalse) {
  auto truncated = EncodeOrderForm(*ValidBasket("B-2", 1));
  truncated.resize(6);
  Store({ValidBasket("B-1", 1)});
  AppendOrderListRows(*source_.Connect(), {{"B-2", truncated}});
  Store({ValidBasket("B-3", 2)});
  AppendOrderListRows(*source_.Connect(), {{"B-4", {1, 2, 3}}});
  Store({ValidBasket("B-5", 1)});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(), LogText({"OrderID: B-1", "     LineNr:0", "OrderID: B-2",
                            "Error occured: Order form 'B-2' is damaged: it ends at byte 6, inside "
                            "a value tag that starts at byte 6",
                            "OrderID: B-3", "     LineNr:0", "     LineNr:1", "OrderID: B-4",
                            "Error occured: Order form 'B-4' is damaged: it ends at byte 3, inside "
                            "the order-form marker that starts at byte 0",
                            "OrderID: B-5", "     LineNr:0", Summary(3)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-3", "B-5"}));
  EXPECT_EQ(Target("SELECT * FROM BASKETLINE").size(), 4u);
}

/// A form that decodes but holds the wrong thing, and the lines its basket gets in the log.
struct InsideDamage {
  const char* name;
  std::function<std::shared_ptr<VariantObject>(const std::shared_ptr<VariantObject>&)> damage;
  std::vector<std::string> log;
};

/// The form with its "Items" entry under `key` (the lines as they are) or replaced by `items`.
std::shared_ptr<VariantObject> WithItems(const VariantObject& form, const std::string& key,
                                         const std::optional<Variant>& items) {
  auto changed = VariantObject::NewDictionary();
  for (const auto& [name, value] : form.Entries()) {
    changed->Set(name == "Items" ? key : name, name == "Items" && items ? *items : value);
  }
  return changed;
}

class InsideDamageTest : public ConvertBasketsTest,
                         public ::testing::WithParamInterface<InsideDamage> {};

TEST_P(InsideDamageTest, IsTheBasketsFailureAndEveryOtherBasketConverts) {
  Store({ValidBasket("B-1", 1), GetParam().damage(ValidBasket("B-2", 1)), ValidBasket("B-3", 1)});

  std::vector<std::string> expected = {"OrderID: B-1", "     LineNr:0"};
  expected.insert(expected.end(), GetParam().log.begin(), GetParam().log.end());
  expected.insert(expected.end(), {"OrderID: B-3", "     LineNr:0", Summary(2)});
  EXPECT_FALSE(Run());
  EXPECT_EQ(Log(), LogText(expected));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-3"}));

  // A rerun refuses the damaged basket again and leaves the converted ones alone.
  EXPECT_FALSE(Run());
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-3"}));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, InsideDamageTest,
    ::testing::Values(
        InsideDamage{"NulInAText",
                     [](const std::shared_ptr<VariantObject>& form) {
                       form->Set("order_name", Variant::String(std::string("a\0b", 3)));
                       return form;
                     },
                     {"OrderID: B-2", "     LineNr:0",
                      "Error occured: The value for BASKETHEADER.BASKETNAME holds a NUL "
                      "character and cannot be written whole"}},
        InsideDamage{"NulInTheItemsKey",
                     [](const std::shared_ptr<VariantObject>& form) {
                       return WithItems(*form, std::string("It\0ems", 6), std::nullopt);
                     },
                     {"OrderID: B-2", "Error occured: Type mismatch: expected Object, got Null"}},
        InsideDamage{
            "ItemsAString",
            [](const std::shared_ptr<VariantObject>& form) {
              return WithItems(*form, "Items", Variant::String("none"));
            },
            {"OrderID: B-2", "Error occured: Type mismatch: expected Object, got String"}}),
    [](const ::testing::TestParamInfo<InsideDamage>& info) { return info.param.name; });

TEST_F(ConvertBasketsTest, AGroupWhoseCommitFailsIsNamedAsOfUnknownOutcome) {
  if (target_.GetEngine() != setup::Engine::Postgresql) {
    GTEST_SKIP() << "a commit that fails needs a deferred constraint trigger (PostgreSQL)";
  }
  const auto target = target_.Connect();
  target->Execute(
      "create function mv_refuse() returns trigger language plpgsql as $$ begin raise "
      "exception 'refused at commit'; end $$");
  target->Execute(
      "create constraint trigger refuse_at_commit after insert on basketheader deferrable "
      "initially deferred for each row when (new.basketid = 'B-3') execute function mv_refuse()");
  Store(
      {ValidBasket("B-1", 1), ValidBasket("B-2", 1), ValidBasket("B-3", 1), ValidBasket("B-4", 1)});
  const ScopedEnvironmentVariable groupSize("VANTREL_GROUP_SIZE", "2");

  EXPECT_FALSE(Run());

  const std::vector<std::string> log = testing::LogLinesWithoutDialect(logPath_);
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(
      std::vector<std::string>(log.begin(), log.begin() + 4),
      (std::vector<std::string>{"OrderID: B-1", "     LineNr:0", "OrderID: B-2", "     LineNr:0"}));
  EXPECT_EQ(log[4],
            "The commit of the baskets from 'B-3' to 'B-4' got no answer or failed: whether they "
            "are in the target is unknown; a rerun converts those not yet there.");
  EXPECT_TRUE(log[5].starts_with("Error occured: ")) << log[5];
  EXPECT_NE(log[5].find("refused at commit"), std::string::npos) << log[5];
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2"}));

  target->Execute("drop trigger refuse_at_commit on basketheader");
  EXPECT_TRUE(Run());
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2", "B-3", "B-4"}));
}

TEST_F(ConvertBasketsTest, AGroupThatRunsOutOfTimeEndsTheRunAndIsNotWrittenAgain) {
  if (target_.GetEngine() != setup::Engine::Postgresql) {
    GTEST_SKIP() << "needs a lock held by another session (PostgreSQL)";
  }
  Store({ValidBasket("B-1", 1), ValidBasket("B-2", 1)});
  {
    const LockedTable locked(target_, "basketheader");
    EXPECT_FALSE(Run());
  }
  // One line: the time-out. Written again basket by basket, B-1's lines would come first.
  const std::vector<std::string> log = testing::LogLinesWithoutDialect(logPath_);
  ASSERT_EQ(log.size(), 1u) << Log();
  // The server's or the program's own time-out, whichever ends the insert first.
  EXPECT_NE(log[0].find("timeout"), std::string::npos) << log[0];
  EXPECT_TRUE(HeaderIds().empty());

  EXPECT_TRUE(Run());
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-2"}));
}

/// A source whose ORDERLIST lets ORDER_ID be Null.
class ConvertBasketsWithoutIdTest : public ConvertBasketsTest {
 protected:
  void SetUp() override {
    const auto source = nullableSource_.Connect();
    source->Execute(std::string("CREATE TABLE ORDERLIST (ORDER_ID VARCHAR(50), MARSHALLED_ORDER ") +
                    (nullableSource_.GetEngine() == setup::Engine::Sqlite ? "BLOB)" : "BYTEA)"));
    values_ = testing::ValuesFor(nullableSource_, target_);
  }

  testing::TestDatabase nullableSource_;
};

TEST_F(ConvertBasketsWithoutIdTest, RowWithoutIdIsLoggedByItsNumberAndSkipped) {
  const auto source = nullableSource_.Connect();
  AppendOrderListRows(*source, {{"B-1", EncodeOrderForm(*ValidBasket("B-1", 1))}});
  source->Execute("INSERT INTO ORDERLIST (ORDER_ID) VALUES (NULL)");
  AppendOrderListRows(*source, {{"B-3", EncodeOrderForm(*ValidBasket("B-3", 1))}});

  EXPECT_FALSE(Run());

  EXPECT_EQ(Log(), LogText({"OrderID: B-1", "     LineNr:0", "OrderID: (no id, row 2)",
                            "Error occured: Invalid use of Null", "OrderID: B-3", "     LineNr:0",
                            Summary(2)}));
  EXPECT_EQ(HeaderIds(), (std::vector<std::string>{"B-1", "B-3"}));
}

const std::vector<std::string> kStorageLines = {
    "The SiteServer DLLs were not registed. Please check if you registered the required DLLs.",
    "\u00B7   Commerce - MSCSCore Type Library (installed in \"C:\\Microsoft Site "
    "Server\\bin\\MscsCore.dll\")",
    "\u00B7   Commerce 1.0 Type Library (installed in \"C:\\Microsoft Site "
    "Server\\bin\\Commerce.dll\")",
    "\u00B7   Mscsresource.dll"};

/// A source whose ORDERLIST lacks MARSHALLED_ORDER: the storage cannot be initialised over it.
class ConvertBasketsWithoutStorageTest : public ConvertBasketsTest {
 protected:
  void SetUp() override {
    const auto source = storagelessSource_.Connect();
    source->Execute("CREATE TABLE ORDERLIST (ORDER_ID VARCHAR(50) NOT NULL PRIMARY KEY)");
    source->Execute("INSERT INTO ORDERLIST (ORDER_ID) VALUES ('B-1')");
    values_ = testing::ValuesFor(storagelessSource_, target_);
  }

  testing::TestDatabase storagelessSource_;
};

TEST_F(ConvertBasketsWithoutStorageTest, FourLinesThenFailureAtTheFirstLoad) {
  EXPECT_FALSE(Run());
  std::vector<std::string> expected = kStorageLines;
  expected.push_back("Error occured: Object variable or With block variable not set");
  EXPECT_EQ(Log(), LogText(expected));
}

TEST_F(ConvertBasketsWithoutStorageTest, FourLinesThenNormalEndWhenEveryBasketIsPresent) {
  target_.Connect()->Execute(
      "INSERT INTO BASKETHEADER (BASKETID, BASKETDATE, CURRENCYCODE, USERID, USERLOCALE, "
      "BUSINESSPARTNERID) VALUES ('B-1', " +
      SQLEncodeDate(kOrderDate) + ", 'EUR', 'S', 1, 1)");
  EXPECT_TRUE(Run());
  std::vector<std::string> expected = kStorageLines;
  expected.push_back(Summary(0));
  EXPECT_EQ(Log(), LogText(expected));
}

}  // namespace
}  // namespace mv::testing

// Tests of the dictionary and list objects and of the runtime's name comparison.
#include "platform/variant_object.h"

#include <gtest/gtest.h>

#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {
namespace {

TEST(VariantObjectTest, DictionaryLooksUpKeysIgnoringCaseAndKeepsOrder) {
  const auto dictionary = VariantObject::NewDictionary();
  dictionary->Set("order_id", Variant::String("B-1002"));
  dictionary->Set("Items", Variant::Long(1));
  dictionary->Set("ORDER_ID", Variant::String("B-1003"));

  EXPECT_EQ(dictionary->Get("Order_Id"), Variant::String("B-1003"));
  EXPECT_TRUE(dictionary->Contains("items"));
  EXPECT_FALSE(dictionary->Contains("sku"));
  EXPECT_TRUE(dictionary->Get("sku").IsEmpty());
  ASSERT_EQ(dictionary->Entries().size(), 2u);
  EXPECT_EQ(dictionary->Entries()[0].first, "order_id");
  EXPECT_EQ(dictionary->Entries()[1].first, "Items");
}

TEST(VariantObjectTest, ListKeepsElementsAndRefusesKeys) {
  const auto list = VariantObject::NewList();
  list->Append(Variant::Long(1));
  list->Append(Variant::Null());
  ASSERT_EQ(list->Elements().size(), 2u);
  EXPECT_TRUE(list->Elements()[1].IsNull());
  try {
    list->Set("a", Variant());
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 438);
  }
  EXPECT_THROW(VariantObject::NewDictionary()->Append(Variant()), RuntimeError);
}

TEST(VariantObjectTest, EqualsIgnoreCaseComparesAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoreCase("Items", "iTEMS"));
  EXPECT_FALSE(EqualsIgnoreCase("Items", "Item"));
  EXPECT_FALSE(EqualsIgnoreCase("a[", "A{"));  // '[' and '{' differ by 32 but are no letters
}

}  // namespace
}  // namespace mv

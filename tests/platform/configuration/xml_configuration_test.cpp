// The configuration store on the file system: loading, typed values, errors, and a file that
// is replaced whole or not at all.
#include "platform/configuration/xml_configuration.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/small_disk.h"
#include "tests/support/test_database.h"

namespace mv {
namespace {

namespace fs = std::filesystem;
using namespace errors;

constexpr const char* kStore = R"(<?xml version="1.0" encoding="UTF-8"?>
<Configuration>
  <!-- The operator's note -->
  <Section name="GENERAL_PARAMETERS">
    <Parameter name="TaxSource" type="Integer" value="0" />
    <Parameter name="BIC Virtual Directory" type="String" value="" />
    <Parameter name="Odd" type="Date" value="" />
  </Section>
  <Section name="FREIGHT_PARAMETERS">
    <Parameter name="Ship-from Zone" type="Integer" />
  </Section>
</Configuration>
)";

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(fs::path(path), std::ios::binary) << text;
}

/// The error number and description `action` throws, or 0 and "" when it throws nothing.
template <typename Action>
std::pair<long, std::string> ErrorOf(Action action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return {error.Number(), error.Description()};
  }
  return {0, ""};
}

class XmlConfigurationTest : public ::testing::Test {
 protected:
  XmlConfigurationTest() { WriteFile(store_, kStore); }

  testing::TempFolder folder_;
  std::string store_ = folder_.File("VantrelConfiguration.xml");
  XmlConfiguration component_{folder_.File("Orbisco.xml")};
};

TEST_F(XmlConfigurationTest, ReleaseWritesTheValuesWithTheirTypes) {
  component_.LoadConfiguration(store_);
  component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(-32768));
  component_.SetParameterValue("GENERAL_PARAMETERS", "BIC Virtual Directory",
                               Variant::String("Shop & <Käse>"));
  component_.SetParameterValue("FREIGHT_PARAMETERS", "Ship-from Zone", Variant::Integer(7));
  component_.Release();

  const std::string written = testing::ReadFileBytes(store_);
  EXPECT_NE(written.find(R"(<Parameter name="TaxSource" type="Integer" value="-32768" />)"),
            std::string::npos);
  EXPECT_NE(written.find(R"(<Parameter name="BIC Virtual Directory" type="String" )"
                         R"(value="Shop &amp; &lt;Käse>" />)"),
            std::string::npos);
  EXPECT_NE(written.find(R"(<Parameter name="Ship-from Zone" type="Integer" value="7" />)"),
            std::string::npos);
  EXPECT_NE(written.find("<!-- The operator's note -->"), std::string::npos);
  EXPECT_FALSE(fs::exists(store_ + ".tmp"));
}

TEST_F(XmlConfigurationTest, AStoreDeclaredInLatin1KeepsItsTextsOverTwoWrites) {
  WriteFile(store_,
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Configuration>"
            "<Section name=\"GENERAL_PARAMETERS\">"
            "<Parameter name=\"TaxSource\" type=\"Integer\" value=\"0\" />"
            "<Parameter name=\"BIC Virtual Directory\" type=\"String\" value=\"K\xE4se\" />"
            "</Section></Configuration>");
  for (std::int16_t value : {1, 2}) {
    component_.LoadConfiguration(store_);
    component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(value));
    component_.Release();
  }
  const std::string written = testing::ReadFileBytes(store_);
  EXPECT_EQ(written.rfind(R"(<?xml version="1.0" encoding="UTF-8"?>)", 0), 0u) << written;
  EXPECT_NE(written.find(R"(value="Käse")"), std::string::npos) << written;
}

TEST_F(XmlConfigurationTest, ValuesSetBeforeTheComponentIsDroppedAreWritten) {
  {
    XmlConfiguration component(folder_.File("Orbisco.xml"));
    component.LoadConfiguration(store_);
    component.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(12));
  }
  EXPECT_NE(testing::ReadFileBytes(store_).find(R"(name="TaxSource" type="Integer" value="12")"),
            std::string::npos);
}

TEST_F(XmlConfigurationTest, AStoreWithoutChangesIsNotRewritten) {
  component_.LoadConfiguration(store_);
  component_.Release();
  EXPECT_EQ(testing::ReadFileBytes(store_), kStore);
}

TEST_F(XmlConfigurationTest, SetValueFailsWithTheComponentsErrorNumbers) {
  component_.LoadConfiguration(store_);
  struct Case {
    const char* section;
    const char* name;
    Variant value;
    long number;
    std::string description;
  };
  const Case cases[] = {
      {"GENERAL_PARAMETERS", "Taxsource", Variant::Integer(1), kParameterNotFound,
       "Parameter 'Taxsource' of section 'GENERAL_PARAMETERS' is not declared in the "
       "configuration file"},
      {"FREIGHT_PARAMETERS", "TaxSource", Variant::Integer(1), kParameterNotFound,
       "Parameter 'TaxSource' of section 'FREIGHT_PARAMETERS' is not declared in the "
       "configuration file"},
      {"GENERAL", "TaxSource", Variant::Integer(1), kParameterNotFound,
       "Parameter 'TaxSource' of section 'GENERAL' is not declared in the configuration file"},
      {"GENERAL_PARAMETERS", "TaxSource", Variant::String("1"), kInvalidParameterType,
       "Parameter 'TaxSource' is declared as 'Integer' and cannot take a value of type String"},
      {"GENERAL_PARAMETERS", "TaxSource", Variant::Long(1), kInvalidParameterType,
       "Parameter 'TaxSource' is declared as 'Integer' and cannot take a value of type Long"},
      {"GENERAL_PARAMETERS", "BIC Virtual Directory", Variant::Integer(1), kInvalidParameterType,
       "Parameter 'BIC Virtual Directory' is declared as 'String' and cannot take a value of "
       "type Integer"},
      {"GENERAL_PARAMETERS", "Odd", Variant::String("x"), kInvalidParameterType,
       "Parameter 'Odd' is declared as 'Date' and cannot take a value of type String"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorOf([&] { component_.SetParameterValue(c.section, c.name, c.value); }),
              std::make_pair(c.number, c.description));
  }
  component_.Release();
  EXPECT_EQ(testing::ReadFileBytes(store_), kStore);
}

TEST_F(XmlConfigurationTest, SetValueWithoutALoadedStoreFailsWithError19) {
  const auto expected =
      std::make_pair(kStoreNotLoaded, std::string("Configuration store not loaded"));
  EXPECT_EQ(ErrorOf([&] {
              component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(1));
            }),
            expected);
  component_.LoadConfiguration(store_);
  component_.Release();
  EXPECT_EQ(ErrorOf([&] {
              component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(1));
            }),
            expected);
}

TEST_F(XmlConfigurationTest, LoadFailsForMissingDamagedAndReadOnlyFiles) {
  const std::string missing = folder_.File("missing.xml");
  EXPECT_EQ(
      ErrorOf([&] { component_.LoadConfiguration(missing); }),
      std::make_pair(errors::kFileNotFound, "Configuration file '" + missing + "' not found"));

  const std::string damaged = folder_.File("damaged.xml");
  WriteFile(damaged, "<Configuration><Section name=\"A\">");
  EXPECT_EQ(ErrorOf([&] { component_.LoadConfiguration(damaged); }).first, kErrorLoadingFromFile);

  const std::string otherRoot = folder_.File("other.xml");
  WriteFile(otherRoot, "<Installation/>");
  EXPECT_EQ(
      ErrorOf([&] { component_.LoadConfiguration(otherRoot); }),
      std::make_pair(kErrorLoadingFromFile, "Error loading from file '" + otherRoot +
                                                "': the root element is not <Configuration>"));

  fs::permissions(store_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(
      ErrorOf([&] { component_.LoadConfiguration(store_); }),
      std::make_pair(errors::kPermissionDenied,
                     "Permission denied: the configuration file '" + store_ + "' is read-only"));
  EXPECT_EQ(ErrorOf([&] {
              component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(1));
            }).first,
            kStoreNotLoaded);
}

TEST_F(XmlConfigurationTest, AFailedWriteLeavesTheStoreAsItWas) {
  component_.LoadConfiguration(store_);
  component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(5));
  // A folder where the temporary file would go makes the write fail even for root.
  fs::create_directory(store_ + ".tmp");
  const auto [number, description] = ErrorOf([&] { component_.Release(); });
  EXPECT_EQ(number, errors::kPermissionDenied);
  // The system's reason ("Is a directory"), then the file that could not be written.
  EXPECT_TRUE(description.ends_with(": the file '" + store_ + ".tmp' cannot be written"))
      << description;
  EXPECT_FALSE(description.starts_with("Permission denied")) << description;
  EXPECT_EQ(testing::ReadFileBytes(store_), kStore);
  EXPECT_TRUE(fs::is_directory(store_ + ".tmp"));
  // Released means released: a second release does not try again.
  fs::remove(store_ + ".tmp");
  component_.Release();
  EXPECT_EQ(testing::ReadFileBytes(store_), kStore);
}

TEST(XmlConfigurationFullDiskTest, AStoreOnAFullDiskSaysSoAndStaysAsItWas) {
  testing::SmallDisk disk;
  if (!disk.Missing().empty()) GTEST_SKIP() << disk.Missing();
  const std::string store = disk.File("VantrelConfiguration.xml");
  WriteFile(store, kStore);
  XmlConfiguration component{disk.File("Orbisco.xml")};
  component.LoadConfiguration(store);
  component.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(5));
  disk.FillLeaving(0);
  EXPECT_EQ(ErrorOf([&] { component.Release(); }),
            std::make_pair(errors::kDiskFull, "No space left on device: the file '" + store +
                                                  ".tmp' cannot be written"));
  EXPECT_EQ(testing::ReadFileBytes(store), kStore);
  EXPECT_FALSE(fs::exists(store + ".tmp"));
}

TEST_F(XmlConfigurationTest, AStoreMadeReadOnlyAfterLoadingIsNotReplaced) {
  component_.LoadConfiguration(store_);
  component_.SetParameterValue("GENERAL_PARAMETERS", "TaxSource", Variant::Integer(5));
  fs::permissions(store_, fs::perms::owner_read);
  EXPECT_EQ(ErrorOf([&] { component_.Release(); }).first, errors::kPermissionDenied);
  EXPECT_EQ(testing::ReadFileBytes(store_), kStore);
  EXPECT_FALSE(fs::exists(store_ + ".tmp"));
}

}  // namespace
}  // namespace mv

// The application instances of the installation's configuration file, and how the component
// finds that file.
#include "platform/configuration/application_instances.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/configuration/configuration_path.h"
#include "platform/configuration/xml_configuration.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_database.h"

namespace mv {

bool operator==(const ApplicationInstance& a, const ApplicationInstance& b) {
  return a.name == b.name && a.description == b.description && a.folder == b.folder;
}

namespace {

namespace fs = std::filesystem;

class ApplicationInstancesTest : public ::testing::Test {
 protected:
  std::string Install(const std::string& text) {
    const std::string path = folder_.File("Orbisco.xml");
    std::ofstream(fs::path(path), std::ios::binary) << text;
    return path;
  }

  testing::TempFolder folder_;
};

#ifdef _WIN32
constexpr const char* kAbsoluteFolder = R"(C:\srv\test)";
#else
constexpr const char* kAbsoluteFolder = "/srv/test";
#endif

TEST_F(ApplicationInstancesTest, ListsTheInstancesOfOneApplicationInFileOrder) {
  const std::string installation = Install(std::string(R"(<?xml version="1.0"?>
<Installation>
  <Application name="Vantrel">
    <Instance name="Shop" description="Web shop" folder="instance" />
    <Instance name="Test" description="" folder=")") +
                                           kAbsoluteFolder + R"(/" />
  </Application>
  <Application name="Other">
    <Instance name="Else" description="x" folder="else" />
  </Application>
  <Application name="Vantrel">
    <Instance name="Late" folder="../late/./config/" />
    <Instance name="Nowhere" />
  </Application>
</Installation>
)");
  const std::vector<ApplicationInstance> expected = {
      {"Shop", "Web shop", folder_.File("instance")},
      {"Test", "", kAbsoluteFolder},
      {"Late", "", (folder_.Path().parent_path() / "late" / "config").string()},
      {"Nowhere", "", ""},
  };
  EXPECT_EQ(ReadApplicationInstances(installation, "Vantrel"), expected);
  EXPECT_TRUE(ReadApplicationInstances(installation, "vantrel").empty());
}

TEST_F(ApplicationInstancesTest, AnInstallationWithoutTheApplicationListsNothing) {
  EXPECT_TRUE(ReadApplicationInstances(Install("<Installation/>"), "Vantrel").empty());
}

TEST_F(ApplicationInstancesTest, AMissingOrDamagedInstallationFileIsAnError) {
  const std::string missing = folder_.File("Orbisco.xml");
  try {
    ReadApplicationInstances(missing, "Vantrel");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kFileNotFound);
    EXPECT_EQ(error.Description(), "Configuration file '" + missing + "' not found");
  }
  const std::string damaged = Install("<Installation><Application>");
  try {
    ReadApplicationInstances(damaged, "Vantrel");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), errors::kErrorLoadingFromFile);
    EXPECT_EQ(error.Description().rfind("Error loading from file '" + damaged + "': ", 0), 0u)
        << error.Description();
  }
}

TEST_F(ApplicationInstancesTest, TheComponentReadsTheInstallationThatTheVariableNames) {
  const std::string installation =
      Install(R"(<Installation><Application name="Vantrel"><Instance name="Shop" description="d" )"
              R"(folder="instance"/></Application></Installation>)");
  const testing::ScopedEnvironmentVariable variable(kConfigurationPathVariable, installation);
  EXPECT_EQ(ConfigurationPath(), installation);
  const std::vector<ApplicationInstance> expected = {{"Shop", "d", folder_.File("instance")}};
  EXPECT_EQ(CreateConfiguration()->GetApplicationInstances("Vantrel"), expected);
}

}  // namespace
}  // namespace mv

#include "tests/app/window_test_support.h"

#include <fstream>

#include "platform/configuration/configuration_path.h"
#include "platform/text_file.h"

namespace mv::testing {
namespace {

// A converter whose outcome and side effect the test chooses.
class StandInConverter : public Converter {
 public:
  StandInConverter(StandInConverters& owner, Migration migration)
      : owner_(owner), migration_(migration) {}
  bool Convert(const ConnectionValues&, TextWriter&) override {
    owner_.during(migration_);
    return owner_.result(migration_);
  }

 private:
  StandInConverters& owner_;
  Migration migration_;
};

}  // namespace

Installation::Installation()
    : previous_(qgetenv(kConfigurationPathVariable)),
      hadPrevious_(qEnvironmentVariableIsSet(kConfigurationPathVariable)) {
  qputenv(kConfigurationPathVariable, QByteArray::fromStdString(folder_.File("Orbisco.xml")));
}

Installation::~Installation() {
  if (hadPrevious_) {
    qputenv(kConfigurationPathVariable, previous_);
  } else {
    qunsetenv(kConfigurationPathVariable);
  }
}

void Installation::WriteSettings(const std::string& bytes) const {
  std::ofstream(PathFromUtf8(SettingsPath()), std::ios::binary) << bytes;
}

ConverterFactory StandInConverters::Factory() {
  return [this](Migration migration) -> std::unique_ptr<Converter> {
    creating(migration);
    created.push_back(migration);
    return std::make_unique<StandInConverter>(*this, migration);
  };
}

void WaitForRunEnd(const FrmConvert& window) {
  if (!QTest::qWaitFor([&] { return !window.RunInProgress(); }, 60'000)) {
    throw std::runtime_error("the run did not end");
  }
}

void UseOffscreenPlatformUnlessSet() {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace mv::testing

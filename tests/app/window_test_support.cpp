#include "tests/app/window_test_support.h"

#include <QCheckBox>
#include <QLineEdit>
#include <fstream>
#include <utility>

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

bool StartWindow(FrmConvert& window) {
  if (!window.Load()) return false;
  window.show();
  return QTest::qWaitForWindowExposed(&window);
}

void TickBoxes(FrmConvert& window, const QStringList& names) {
  for (const QString& name : names) Find<QCheckBox>(window, name)->setCheckState(Qt::Checked);
}

void FillConnectionFields(FrmConvert& window, const ConnectionValues& values) {
  const std::pair<const char*, const std::string&> fields[] = {
      {"SDBServer", values.SDBServer}, {"SUser", values.SUser},
      {"SPassword", values.SPassword}, {"SDB", values.SDB},
      {"TDBServer", values.TDBServer}, {"TUser", values.TUser},
      {"TPassword", values.TPassword}, {"TDB", values.TDB}};
  for (const auto& [name, text] : fields) {
    Find<QLineEdit>(window, name)->setText(QString::fromStdString(text));
  }
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

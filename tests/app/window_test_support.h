// Helpers for the window tests: an installation folder, stand-in converters, a window set up
// on both, and a main that runs a QTest class on the offscreen platform.
#pragma once

#include <QApplication>
#include <QTest>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frm_convert.h"
#include "driver/connection_values.h"
#include "driver/converter.h"
#include "platform/process_locale.h"
#include "tests/support/recording_message_display.h"
#include "tests/support/test_database.h"

namespace mv::testing {

/// A temporary installation: VANTREL_CONFIGURATION names Orbisco.xml in a folder of its own
/// while it lives and is restored afterwards.
class Installation {
 public:
  Installation();
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const TempFolder& Folder() const { return folder_; }
  std::string SettingsPath() const { return folder_.File("Vantrel23Convert.INI"); }
  std::string LogPath() const { return folder_.File("Vantrel23Conversion.log"); }
  void WriteSettings(const std::string& bytes) const;

 private:
  TempFolder folder_;
  QByteArray previous_;
  bool hadPrevious_;
};

/// Converters that answer `result` for each migration they are created for, recording the
/// order of creation, running `creating` before each creation and `during` inside each
/// Convert call.
struct StandInConverters {
  ConverterFactory Factory();

  std::function<void(Migration)> creating = [](Migration) {};
  std::function<bool(Migration)> result = [](Migration) { return true; };
  std::function<void(Migration)> during = [](Migration) {};
  std::vector<Migration> created;
};

/// Twips as the window's pixels: 15 twips a pixel, to the nearest pixel.
inline int PixelsOf(int twips) { return (twips + 7) / 15; }

/// The window's control of that name; throws when there is none.
template <typename Control = QWidget>
Control* Find(const QWidget& window, const QString& name) {
  auto* control = window.findChild<Control*>(name);
  if (control == nullptr) throw std::runtime_error("no control " + name.toStdString());
  return control;
}

/// Loads the window, shows it and waits until it is on screen; false when either fails.
bool StartWindow(FrmConvert& window);

/// Ticks the window's check boxes of those names.
void TickBoxes(FrmConvert& window, const QStringList& names);

/// Types `values` into the window's connection fields.
void FillConnectionFields(FrmConvert& window, const ConnectionValues& values);

/// A window on a fresh installation whose message boxes `messages` records. It creates its
/// converters with `factory`, or with `converters` when given none.
template <typename Messages = RecordingMessageDisplay>
struct WindowFixture {
  explicit WindowFixture(ConverterFactory factory = {}, ViewerLauncher viewer = StartViewer)
      : window(factory ? std::move(factory) : converters.Factory(), messages, std::move(viewer)) {}

  /// Loads and shows the window; false when it did not start.
  bool Start() { return StartWindow(window); }

  Installation installation;
  Messages messages;
  StandInConverters converters;
  FrmConvert window;
};

/// Waits, serving the window's events, until a run the window is doing has ended and its
/// outcome is shown; throws when that takes more than a minute.
void WaitForRunEnd(const FrmConvert& window);

/// The message box after a run that failed.
inline constexpr const char* kFailed =
    "Errors have occured during conversion. Please check the logfile.";

/// Uses the offscreen platform unless QT_QPA_PLATFORM names another.
void UseOffscreenPlatformUnlessSet();

}  // namespace mv::testing

/// main() for a QTest class that needs widgets, on the offscreen platform by default, with the
/// process locale the program sets.
#define MV_WIDGET_TEST_MAIN(TestClass)            \
  int main(int argc, char** argv) {               \
    mv::testing::UseOffscreenPlatformUnlessSet(); \
    QApplication application(argc, argv);         \
    mv::PrepareProcessLocale();                   \
    TestClass test;                               \
    return QTest::qExec(&test, argc, argv);       \
  }

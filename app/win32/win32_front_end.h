// Win32FrontEnd: the Win32 window showing the front-end core, as the Qt window does.
#pragma once

#include <windows.h>

#include <string>

#include "app/win32/win32_convert_window.h"
#include "driver/connection_values.h"
#include "driver/converter.h"
#include "driver/global_convert.h"
#include "driver/window_paths.h"
#include "frontend/front_end_run.h"
#include "frontend/option_rules.h"
#include "frontend/run_ending.h"
#include "platform/message_display.h"
#include "platform/progress_caption.h"

namespace mv::win32 {

/// The window's commands over the core: the start-up, the option rules after each check box
/// click, "Migrate" and "Dump" run on a worker thread with the window's controls blocked and
/// the migration's progress in `ResultText`, the run's ending, the file viewers, and closing
/// during a run.
class Win32FrontEnd : private ResultTextView {
 public:
  /// `factory` creates the converters of a run.
  Win32FrontEnd(HINSTANCE instance, ConverterFactory factory);
  /// A run still going is asked to stop and waited for; its ending is not shown.
  ~Win32FrontEnd() override;
  Win32FrontEnd(const Win32FrontEnd&) = delete;
  Win32FrontEnd& operator=(const Win32FrontEnd&) = delete;

  /// The start-up (fields from the settings file), then the window until it closes; answers
  /// the exit code, 1 after a start-up failure's message box.
  int Run(int show);

 private:
  /// Message boxes shown on the window's thread, whichever thread asks; the asker waits.
  class WindowMessages : public MessageDisplay {
   public:
    explicit WindowMessages(Win32ConvertWindow& window) : window_(window) {}
    void ShowMessage(const std::string& text) override;

   private:
    Win32ConvertWindow& window_;
  };

  /// An option box's caption, set on the window's thread; the run waits until it is set.
  class OptionCaption : public ProgressCaption {
   public:
    OptionCaption(Win32ConvertWindow& window, ControlId id) : window_(window), id_(id) {}
    void SetCaption(const std::string& caption) override;

   private:
    Win32ConvertWindow& window_;
    ControlId id_;
  };

  ConvertWindowCommands Commands();
  void ApplyOptionRules();
  void Migrate();
  void Dump();
  /// Blocks the controls and shows the progress until the run's WorkDone wakes the window.
  void BlockDuringRun();
  void EndRun();
  void ViewFile(const std::string& path);

  void ShowResultText(const std::string& caption) override;
  void HideResultText() override;

  void ShowFields(const SettingsFields& fields);
  ConnectionValues ConnectionValuesOfControls() const;
  OptionStates OptionStatesOfControls() const;

  ConverterFactory factory_;
  Win32ConvertWindow window_;
  WindowMessages messages_{window_};
  OptionCaption basket_{window_, ControlId::CheckBasket};
  OptionCaption orders_{window_, ControlId::CheckOrders};
  OptionCaption parameters_{window_, ControlId::CheckParameters};
  OptionCaption copy_{window_, ControlId::CheckCopy};
  const MigrationCaptions captions_{basket_, orders_, parameters_, copy_};
  WindowPaths paths_;
  /// Declared last: a run still going when the window goes is waited for while the window and
  /// what the run shows through it are still there.
  FrontEndRun run_{[this] { window_.Wake(); }};
};

}  // namespace mv::win32

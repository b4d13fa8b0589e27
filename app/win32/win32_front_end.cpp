// Win32FrontEnd: the Win32 window's commands as the Qt window's, over the front-end core.
#include "app/win32/win32_front_end.h"

#include <initializer_list>
#include <optional>
#include <utility>

#include "app/win32/notepad_viewer.h"
#include "frontend/start_up.h"
#include "frontend/view_file.h"

namespace mv::win32 {

void Win32FrontEnd::WindowMessages::ShowMessage(const std::string& text) {
  window_.CallOnWindowThread([&] { window_.ShowMessage(text); });
}

void Win32FrontEnd::OptionCaption::SetCaption(const std::string& caption) {
  window_.CallOnWindowThread([&] { window_.SetText(id_, caption); });
}

Win32FrontEnd::Win32FrontEnd(HINSTANCE instance, ConverterFactory factory)
    : factory_(std::move(factory)), window_(instance, Commands()) {}

Win32FrontEnd::~Win32FrontEnd() {
  // Without the window, what the run still shows returns at once and the run can end.
  if (run_.Running()) window_.Close();
}

int Win32FrontEnd::Run(int show) {
  SettingsFields fields = SettingsFieldsOf(ConnectionValuesOfControls());
  const std::optional<WindowPaths> paths = StartWindow(fields, messages_);
  if (!paths) return 1;
  ShowFields(fields);
  paths_ = *paths;
  return window_.Run(show);
}

ConvertWindowCommands Win32FrontEnd::Commands() {
  ConvertWindowCommands commands;
  commands.migrate = [this] { Migrate(); };
  commands.dump = [this] { Dump(); };
  commands.openLogFile = [this] { ViewFile(paths_.sLogFileName); };
  commands.openDumpFile = [this] { ViewFile(window_.Text(ControlId::DumpFileName)); };
  commands.optionsChanged = [this] { ApplyOptionRules(); };
  commands.dumpOptionChanged = [this] { ApplyOptionRules(); };
  commands.close = [this] {
    return run_.MayClose([this] { return window_.AskYesNo(kStopMigrationQuestion); });
  };
  commands.woken = [this] { EndRun(); };
  commands.tick = [this] {
    if (const std::optional<std::string> text = run_.ProgressText()) ShowResultText(*text);
  };
  return commands;
}

void Win32FrontEnd::ApplyOptionRules() {
  const EnabledControls enabled = EnabledFor(OptionStatesOfControls());
  using enum ControlId;
  for (ControlId id :
       {Convert, SDBServer, SUser, SPassword, SDB, TDBServer, TUser, TPassword, TDB}) {
    window_.Enable(id, enabled.migrateControls);
  }
  window_.Enable(DumpBaskets, enabled.DumpBaskets);
}

void Win32FrontEnd::Migrate() {
  const ConnectionValues values = ConnectionValuesOfControls();
  if (!CheckBeforeMigrate(values, paths_.sIniFileName, messages_, [this] { window_.Close(); })) {
    return;
  }
  HideResultText();
  BlockDuringRun();
  run_.StartMigration(factory_, messages_, captions_, values, SelectionOf(OptionStatesOfControls()),
                      paths_.sLogFileName);
}

void Win32FrontEnd::Dump() {
  const ConnectionValues values = ConnectionValuesOfControls();
  if (!CheckBeforeDump(values, messages_)) return;
  BlockDuringRun();
  run_.StartDump(values, window_.Text(ControlId::DumpFileName));
}

void Win32FrontEnd::BlockDuringRun() {
  window_.BlockInput(true);
  window_.StartTicking(static_cast<UINT>(kProgressShowEvery.count()));
}

void Win32FrontEnd::EndRun() {
  window_.StopTicking();
  window_.BlockInput(false);
  if (run_.Finish(*this, messages_)) window_.Close();
}

void Win32FrontEnd::ViewFile(const std::string& path) {
  mv::ViewFile(path, StartNotepad, messages_);
}

void Win32FrontEnd::ShowResultText(const std::string& caption) {
  window_.SetText(ControlId::ResultText, caption);
  window_.Show(ControlId::ResultText, true);
}

void Win32FrontEnd::HideResultText() { window_.Show(ControlId::ResultText, false); }

void Win32FrontEnd::ShowFields(const SettingsFields& fields) {
  using enum ControlId;
  window_.SetText(SDBServer, fields.SDBServer);
  window_.SetText(TDBServer, fields.TDBServer);
  window_.SetText(SUser, fields.SUser);
  window_.SetText(TUser, fields.TUser);
  window_.SetText(SDB, fields.SDB);
  window_.SetText(TDB, fields.TDB);
}

ConnectionValues Win32FrontEnd::ConnectionValuesOfControls() const {
  using enum ControlId;
  return {window_.Text(SDBServer), window_.Text(SUser), window_.Text(SPassword), window_.Text(SDB),
          window_.Text(TDBServer), window_.Text(TUser), window_.Text(TPassword), window_.Text(TDB)};
}

OptionStates Win32FrontEnd::OptionStatesOfControls() const {
  using enum ControlId;
  return {window_.Check(CheckBasket), window_.Check(CheckOrders), window_.Check(CheckParameters),
          window_.Check(CheckCopy), window_.Check(CheckDump)};
}

}  // namespace mv::win32

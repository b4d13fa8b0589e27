// The option rules of the window: which controls the check boxes enable, which migrations they
// select, and what "Migrate" and "Dump" need before they run.
#pragma once

#include <functional>
#include <string>

#include "driver/connection_values.h"
#include "driver/global_convert.h"
#include "driver/settings_file.h"
#include "platform/message_display.h"

namespace mv {

/// The state of a check box as the product counts it.
enum class CheckState { Unchecked = 0, Checked = 1, Greyed = 2 };

/// The states of the window's five check boxes.
struct OptionStates {
  CheckState CheckBasket = CheckState::Unchecked;
  CheckState CheckOrders = CheckState::Unchecked;
  CheckState CheckParameters = CheckState::Unchecked;
  CheckState CheckCopy = CheckState::Unchecked;
  CheckState CheckDump = CheckState::Unchecked;
};

/// The controls whose enabled state follows the check boxes. Every other control ("Exit",
/// "Open Log file", "Open Dumpfile", the advanced toggle, `DumpFileName`, the check boxes) is
/// always enabled. At start-up every box is unchecked, so these all start disabled.
struct EnabledControls {
  /// "Migrate" and the eight connection fields, set in the order `Convert`, `SDBServer`,
  /// `SUser`, `SPassword`, `SDB`, `TDBServer`, `TUser`, `TPassword`, `TDB`: enabled while any
  /// of the four option boxes is checked or greyed. Fields keep their texts when disabled.
  bool migrateControls = false;
  /// "Dump": enabled only while `CheckDump` is checked; greyed does not enable it.
  bool DumpBaskets = false;
  bool operator==(const EnabledControls&) const = default;
};

/// The enabled state of the controls for the boxes' states, to be applied after any click on a
/// check box.
EnabledControls EnabledFor(const OptionStates& states);

/// The migrations a "Migrate" press runs: each option box that is not unchecked.
MigrationSelection SelectionOf(const OptionStates& states);

/// The six fields the settings file keeps, from the eight connection values.
SettingsFields SettingsFieldsOf(const ConnectionValues& values);

/// Before "Migrate" runs: true when the migration is to start. Refuses values no connection
/// could use (a control character, more than kMaxConnectionValueLength characters) with their
/// message box, and leaves them out of the settings file too; else rewrites the settings file at
/// `sIniFileName` with the fields as they stand, before the run checks them. When that file
/// cannot be written, says so and calls `endProgram`: the program ends at once.
bool CheckBeforeMigrate(const ConnectionValues& values, const std::string& sIniFileName,
                        MessageDisplay& messages, const std::function<void()>& endProgram);

/// Before "Dump" runs: false after the message box of a source or target value no connection
/// could use. The dump neither saves the settings nor checks for empty fields.
bool CheckBeforeDump(const ConnectionValues& values, MessageDisplay& messages);

}  // namespace mv

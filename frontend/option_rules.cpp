// The option rules: the check boxes' states combined as the product combines them, and the
// checks before "Migrate" and "Dump".
#include "frontend/option_rules.h"

#include <vector>

#include "driver/convert_functions.h"
#include "frontend/start_up.h"

namespace mv {
namespace {

// False after the message box of a value no connection could use.
bool ValuesUsable(const ConnectionValues& values, MessageDisplay& messages) {
  std::vector<std::string> refused;
  return ValidateValues(values, messages, refused);
}

}  // namespace

EnabledControls EnabledFor(const OptionStates& states) {
  // The product ORs the boxes' numeric states: any state other than 0 counts.
  const int migrate = static_cast<int>(states.CheckBasket) | static_cast<int>(states.CheckOrders) |
                      static_cast<int>(states.CheckParameters) | static_cast<int>(states.CheckCopy);
  return {migrate != 0, states.CheckDump == CheckState::Checked};
}

MigrationSelection SelectionOf(const OptionStates& states) {
  return {states.CheckBasket != CheckState::Unchecked, states.CheckOrders != CheckState::Unchecked,
          states.CheckParameters != CheckState::Unchecked,
          states.CheckCopy != CheckState::Unchecked};
}

SettingsFields SettingsFieldsOf(const ConnectionValues& values) {
  return {values.SDBServer, values.TDBServer, values.SUser, values.TUser, values.SDB, values.TDB};
}

bool CheckBeforeMigrate(const ConnectionValues& values, const std::string& sIniFileName,
                        MessageDisplay& messages, const std::function<void()>& endProgram) {
  // Values no connection could use are not saved for the next start either.
  if (!ValuesUsable(values, messages)) return false;
  if (SaveSettingsFields(sIniFileName, SettingsFieldsOf(values), messages)) return true;
  endProgram();
  return false;
}

bool CheckBeforeDump(const ConnectionValues& values, MessageDisplay& messages) {
  return ValuesUsable(values, messages);
}

}  // namespace mv

// AskToStopMigration: the question put to an operator who closes the window during a migration.
#pragma once

#include <QWidget>

namespace mv {

/// Asks kStopMigrationQuestion in a box titled
/// "MigrateVantrel22To23" with Yes and No, No being the default; true when the operator
/// answers Yes.
bool AskToStopMigration(QWidget& window);

}  // namespace mv

// AskToStopMigration: the Yes/No box, No by default, that asks whether to stop the migration.
#include "app/ask_to_stop_migration.h"

#include <QMessageBox>

namespace mv {

bool AskToStopMigration(QWidget& window) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("MigrateVantrel22To23"),
                  QStringLiteral("A migration is running. Stop it after the current step?"),
                  QMessageBox::Yes | QMessageBox::No, &window);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace mv

// AskToStopMigration: the Yes/No box, No by default, that asks whether to stop the migration.
#include "app/ask_to_stop_migration.h"

#include <QMessageBox>

#include "frontend/front_end_run.h"

namespace mv {

bool AskToStopMigration(QWidget& window) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("MigrateVantrel22To23"),
                  QString::fromLatin1(kStopMigrationQuestion), QMessageBox::Yes | QMessageBox::No,
                  &window);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace mv

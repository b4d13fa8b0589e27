// MessageBoxDisplay: each message in a modal QMessageBox with OK only, over the active window.
#include "app/message_box_display.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace mv {

void MessageBoxDisplay::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("MigrateVantrel22To23"),
                  QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

}  // namespace mv

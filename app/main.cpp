// MigrateVantrel22To23: starts the migration window.
#include <QApplication>

#include "app/frm_convert.h"
#include "app/message_box_display.h"
#include "converters/converter_factory.h"
#include "platform/process_locale.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // After the application object, which sets the user's locale itself.
  mv::PrepareProcessLocale();
  QApplication::setApplicationName(QStringLiteral("MigrateVantrel22To23"));
  mv::MessageBoxDisplay messages;
  mv::FrmConvert window(mv::MakeConverterFactory(), messages);
  if (!window.Load()) return 1;
  window.show();
  return QApplication::exec();
}

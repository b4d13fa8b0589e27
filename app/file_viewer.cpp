// Starting the file viewer: notepad on Windows, the desktop's default viewer elsewhere.
#include "app/file_viewer.h"

#include <QString>

#ifdef Q_OS_WIN
#include <QProcess>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace mv {

bool StartViewer(const std::string& path) {
  const QString file = QString::fromStdString(path);
#ifdef Q_OS_WIN
  // The path goes unquoted after the program name, as notepad takes the rest of its command
  // line as the file name.
  QProcess notepad;
  notepad.setProgram(QStringLiteral("notepad"));
  notepad.setNativeArguments(file);
  return notepad.startDetached();
#else
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#endif
}

}  // namespace mv

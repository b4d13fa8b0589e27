// The process's character locale, set once at start-up before the first database connection.
#pragma once

namespace mv {

/// Sets the process's character locale to the user's, and to UTF-8 where that names no
/// encoding beyond ASCII (the same rule as the program's narrow code page). Driver managers
/// turn the wide ODBC calls into narrow ones for drivers that only have those, in the encoding
/// of this locale; the C locale would squeeze every shop text into ASCII. Every program that
/// opens a database connection calls this at start-up, after anything that sets the locale
/// itself (the window toolkit's application object). Does nothing on Windows.
void PrepareProcessLocale();

}  // namespace mv

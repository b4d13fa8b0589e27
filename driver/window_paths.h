// WindowPaths: the working folder and the files the window keeps in it, and the dump file's
// initial name.
#pragma once

#include <string>

namespace mv {

/// The three paths the window sets once at start-up.
struct WindowPaths {
  std::string sWorkFolder;   ///< the folder that holds the installation's configuration file
  std::string sLogFileName;  ///< sWorkFolder + separator + "Vantrel23Conversion.log"
  std::string sIniFileName;  ///< sWorkFolder + separator + "Vantrel23Convert.INI"
};

/// The paths beside the installation's configuration file, joined with the platform's
/// separator. Throws RuntimeError 76 with a message that names VANTREL_CONFIGURATION when the
/// path names no folder or its folder does not exist.
WindowPaths WindowPathsFor(const std::string& configurationPath);

/// "c:\orderforms.txt" on Windows; orderforms.txt in the user's home folder elsewhere.
std::string InitialDumpFileName();

}  // namespace mv

// The test set-up's view of Wine: the Windows build's tests run under Wine, where the ODBC
// drivers are those of the Linux host and so know the host's file names only.
#pragma once

#include <string>

namespace mv::setup {

/// True when this process is a Windows program running under Wine.
bool UnderWine();

/// The name under which a database driver finds the file `path`: under Wine, the host's name
/// of an absolute Windows path (C:\users\... becomes /root/.wine/drive_c/users/...); anywhere
/// else, and for a relative path, `path` itself.
std::string HostFileName(const std::string& path);

}  // namespace mv::setup

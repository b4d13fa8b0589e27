// The TCP connections of this process, so that the one a driver opened for a database
// connection can be cut when the server stops answering: no ODBC call reaches a driver's socket.
#pragma once

#include <string>
#include <vector>

namespace mv::odbc {

/// One TCP connection of this process: its descriptor and the addresses of both ends, which
/// together name the connection uniquely while it is open.
struct TcpLink {
  int descriptor = -1;
  std::string local;  // the address bytes as the system reports them
  std::string remote;

  bool operator==(const TcpLink&) const = default;
};

/// The process's open TCP connections; none where the system does not list them (Windows).
std::vector<TcpLink> OpenTcpLinks();

/// Shuts `link` down in both directions, so that a call waiting on it returns at once; does
/// nothing when its descriptor no longer holds that very connection. Never throws.
void ShutDown(const TcpLink& link) noexcept;

}  // namespace mv::odbc

// TCP connections on Windows: not listed, so a connection's link is never cut.
#include "platform/odbc/tcp_link.h"

namespace mv::odbc {

std::vector<TcpLink> OpenTcpLinks() { return {}; }

void ShutDown(const TcpLink&) noexcept {}

}  // namespace mv::odbc

// TCP connections on POSIX systems: the descriptors under /proc/self/fd, else the first 1024.
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/odbc/tcp_link.h"

namespace mv::odbc {
namespace {

std::optional<std::string> Address(int descriptor, decltype(&::getpeername) query) {
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  if (query(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(&address), length);
}

std::optional<TcpLink> LinkOf(int descriptor) {
  int type = 0;
  socklen_t length = sizeof(type);
  if (::getsockopt(descriptor, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_STREAM) {
    return std::nullopt;
  }
  auto local = Address(descriptor, ::getsockname);
  auto remote = Address(descriptor, ::getpeername);
  if (!local || !remote) return std::nullopt;
  return TcpLink{descriptor, std::move(*local), std::move(*remote)};
}

}  // namespace

std::vector<TcpLink> OpenTcpLinks() {
  std::vector<TcpLink> links;
  const auto add = [&links](int descriptor) {
    if (auto link = LinkOf(descriptor)) links.push_back(std::move(*link));
  };
  std::error_code error;
  std::filesystem::directory_iterator entries("/proc/self/fd", error);
  if (error) {
    for (int descriptor = 0; descriptor < 1024; ++descriptor) add(descriptor);
    return links;
  }
  for (const auto& entry : entries) {
    try {
      add(std::stoi(entry.path().filename().string()));
    } catch (const std::exception&) {
      // not a descriptor's number
    }
  }
  return links;
}

void ShutDown(const TcpLink& link) noexcept {
  if (LinkOf(link.descriptor) == link) ::shutdown(link.descriptor, SHUT_RDWR);
}

}  // namespace mv::odbc

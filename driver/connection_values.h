// The eight connection values of a migration: source then target, as the operator typed them.
#pragma once

#include <string>

namespace mv {

struct ConnectionValues {
  std::string SDBServer;
  std::string SUser;
  std::string SPassword;
  std::string SDB;
  std::string TDBServer;
  std::string TUser;
  std::string TPassword;
  std::string TDB;
};

}  // namespace mv

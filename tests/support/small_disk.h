// A small file system that a test can fill: a tmpfs mounted on a folder of its own. Mounting
// needs Linux and root; elsewhere the disk is not there and says why, for the test to skip.
#pragma once

#include <cstddef>
#include <string>

#include "tests/support/test_database.h"

namespace mv::testing {

class SmallDisk {
 public:
  /// A tmpfs of `bytes` mounted on a new temporary folder.
  explicit SmallDisk(std::size_t bytes = 256 * 1024);
  /// Unmounts the disk, which removes everything on it.
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  /// Empty when the disk is there; else why not, for GTEST_SKIP.
  const std::string& Missing() const { return missing_; }
  /// The UTF-8 path of `name` on the disk.
  std::string File(const std::string& name) const { return folder_.File(name); }
  /// Fills the disk up with a file of its own, then frees about `bytes` of it again (whole
  /// pages): the next writes find that much room and then none.
  void FillLeaving(std::size_t bytes);

 private:
  TempFolder folder_;
  std::string missing_;
};

}  // namespace mv::testing

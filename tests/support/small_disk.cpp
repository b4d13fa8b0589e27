// SmallDisk: mount(2) of a tmpfs of a given size, and a filler file written until the disk is full.
#include "tests/support/small_disk.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#ifndef _WIN32
#include <sys/mount.h>
#endif

namespace mv::testing {

SmallDisk::SmallDisk(std::size_t bytes) {
#ifdef _WIN32
  (void)bytes;
  missing_ = "no tmpfs to mount on Windows";
#else
  const std::string options = "size=" + std::to_string(bytes);
  if (::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, options.c_str()) != 0) {
    missing_ = std::string("a tmpfs cannot be mounted here (mounting needs root): ") +
               std::strerror(errno);
  }
#endif
}

SmallDisk::~SmallDisk() {
#ifndef _WIN32
  if (missing_.empty()) ::umount2(folder_.Path().c_str(), MNT_DETACH);
#endif
}

void SmallDisk::FillLeaving(std::size_t bytes) {
  const std::filesystem::path filler = folder_.Path() / "filler";
  {
    std::ofstream out(filler, std::ios::binary | std::ios::app);
    const std::vector<char> block(4096, 'x');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())).flush()) {
    }
  }
  const auto size = std::filesystem::file_size(filler);
  std::filesystem::resize_file(filler, size > bytes ? size - bytes : 0);
}

}  // namespace mv::testing

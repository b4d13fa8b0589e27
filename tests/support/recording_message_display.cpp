#include "tests/support/recording_message_display.h"

#include <fstream>
#include <sstream>

#include "platform/text_file.h"

namespace mv::testing {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace mv::testing

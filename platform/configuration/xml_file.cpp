// LoadXmlFile: the file read whole and parsed with pugixml, each failure with its runtime number.
#include "platform/configuration/xml_file.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/configuration/configuration.h"
#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {

void LoadXmlFile(pugi::xml_document& document, const std::filesystem::path& path,
                 const char* rootName) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw errors::FileNotFound("Configuration file '" + Utf8FromPath(path) + "' not found");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    throw errors::PermissionDenied("Permission denied: the configuration file '" +
                                   Utf8FromPath(path) + "' cannot be read");
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string text = bytes.str();
  const pugi::xml_parse_result parsed =
      document.load_buffer(text.data(), text.size(),
                           pugi::parse_default | pugi::parse_declaration | pugi::parse_comments);
  if (!parsed) {
    throw errors::ErrorLoadingFromFile("Error loading from file '" + Utf8FromPath(path) +
                                       "': " + parsed.description() + " at offset " +
                                       std::to_string(parsed.offset));
  }
  if (std::string(document.document_element().name()) != rootName) {
    throw errors::ErrorLoadingFromFile("Error loading from file '" + Utf8FromPath(path) +
                                       "': the root element is not <" + rootName + ">");
  }
}

}  // namespace mv

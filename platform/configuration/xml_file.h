// Reading the component's XML files (inside the configuration component only).
#pragma once

#include <filesystem>
#include <string>

#include <pugixml.hpp>

namespace mv {

/// Parses the file at `path` into `document`, whose root element must be `rootName`.
/// Throws RuntimeError 53 when the file does not exist, 70 when it cannot be read, 31037
/// when it is not well-formed or has another root.
void LoadXmlFile(pugi::xml_document& document, const std::filesystem::path& path,
                 const char* rootName);

}  // namespace mv

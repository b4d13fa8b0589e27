// ReadApplicationInstances: an application's <Instance> entries, relative folders resolved.
#include "platform/configuration/application_instances.h"

#include "platform/configuration/xml_file.h"
#include "platform/unicode.h"

namespace mv {
namespace {

std::string ResolveFolder(const std::filesystem::path& installationFile, const char* folder) {
  std::filesystem::path resolved = PathFromUtf8(folder);
  if (resolved.empty()) return "";
  if (resolved.is_relative()) resolved = installationFile.parent_path() / resolved;
  resolved = resolved.lexically_normal();
  // "instance/" names the same folder as "instance"; callers append a separator themselves.
  if (!resolved.has_filename() && resolved.has_relative_path()) resolved = resolved.parent_path();
  return Utf8FromPath(resolved);
}

}  // namespace

std::vector<ApplicationInstance> ReadApplicationInstances(
    const std::filesystem::path& installationFile, const std::string& application) {
  pugi::xml_document document;
  LoadXmlFile(document, installationFile, "Installation");
  std::vector<ApplicationInstance> instances;
  for (const pugi::xml_node entry : document.document_element().children("Application")) {
    if (application != entry.attribute("name").value()) continue;
    for (const pugi::xml_node instance : entry.children("Instance")) {
      instances.push_back({instance.attribute("name").value(),
                           instance.attribute("description").value(),
                           ResolveFolder(installationFile, instance.attribute("folder").value())});
    }
  }
  return instances;
}

}  // namespace mv

// ConfigurationStore: the store's XML loaded, a declared parameter's value set, and saved as UTF-8.
#include "platform/configuration/configuration_store.h"

#include <sstream>

#include "platform/configuration/atomic_file.h"
#include "platform/configuration/configuration.h"
#include "platform/configuration/xml_file.h"
#include "platform/errors.h"
#include "platform/file_problem.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {

struct ConfigurationStore::Document {
  pugi::xml_document xml;
};

namespace {

[[noreturn]] void ThrowPermissionDenied(const std::filesystem::path& path) {
  throw errors::PermissionDenied("Permission denied: the configuration file '" +
                                 Utf8FromPath(path) + "' is read-only");
}

pugi::xml_node FindNamed(pugi::xml_node parent, const char* element, const std::string& name) {
  for (const pugi::xml_node child : parent.children(element)) {
    if (name == child.attribute("name").value()) return child;
  }
  return {};
}

/// The parameter `name` of `section`; throws component error 15 when either is not declared.
pugi::xml_node DeclaredParameter(const pugi::xml_document& xml, const std::string& section,
                                 const std::string& name) {
  const pugi::xml_node parameter =
      FindNamed(FindNamed(xml.document_element(), "Section", section), "Parameter", name);
  if (!parameter) throw errors::ParameterNotFound(section, name);
  return parameter;
}

/// The value's text as the store keeps it, when its kind is the declared type.
bool StoredText(const std::string& declaredType, const Variant& value, std::string& text) {
  if (declaredType == "Integer" && value.Kind() == VariantKind::Integer) {
    text = std::to_string(value.ToInteger());
    return true;
  }
  if (declaredType == "String" && value.Kind() == VariantKind::String) {
    text = value.AsString();
    return true;
  }
  return false;
}

/// The store is always written as UTF-8; a declaration naming another encoding (a store an
/// operator saved as ISO-8859-1, say) would make the next load misread every non-ASCII text.
void DeclareUtf8(pugi::xml_document& xml) {
  const pugi::xml_node declaration = xml.first_child();
  if (declaration.type() != pugi::node_declaration) return;
  if (pugi::xml_attribute encoding = declaration.attribute("encoding")) encoding.set_value("UTF-8");
}

}  // namespace

ConfigurationStore::ConfigurationStore(const std::filesystem::path& path, bool forReading)
    : path_(path), document_(std::make_unique<Document>()) {
  LoadXmlFile(document_->xml, path_, "Configuration");
  if (forReading) return;
  if (IsReadOnlyFile(path_)) ThrowPermissionDenied(path_);
  // Opening for appending writes nothing but fails where the file may not be changed.
  const std::string reason = AppendFailureReason(path_);
  if (!reason.empty()) {
    throw errors::PermissionDenied(reason + ": the configuration file '" + Utf8FromPath(path_) +
                                   "' cannot be written");
  }
}

ConfigurationStore::~ConfigurationStore() = default;

Variant ConfigurationStore::Value(const std::string& section, const std::string& name) const {
  const pugi::xml_node parameter = DeclaredParameter(document_->xml, section, name);
  const std::string declaredType = parameter.attribute("type").value();
  const pugi::xml_attribute stored = parameter.attribute("value");
  if (declaredType == "Integer") {
    return stored ? Variant::Integer(static_cast<std::int16_t>(stored.as_int())) : Variant::Null();
  }
  if (declaredType == "String") {
    return stored ? Variant::String(stored.value()) : Variant::Null();
  }
  throw errors::InvalidParameterType(name, declaredType, "Variant");
}

void ConfigurationStore::SetValue(const std::string& section, const std::string& name,
                                  const Variant& value) {
  pugi::xml_node parameter = DeclaredParameter(document_->xml, section, name);
  const std::string declaredType = parameter.attribute("type").value();
  std::string text;
  if (!StoredText(declaredType, value, text)) {
    throw errors::InvalidParameterType(name, declaredType, value.TypeName());
  }
  pugi::xml_attribute stored = parameter.attribute("value");
  if (!stored) stored = parameter.append_attribute("value");
  stored.set_value(text.c_str());
  changed_ = true;
}

void ConfigurationStore::Save() {
  SaveAs(path_);
  changed_ = false;
}

void ConfigurationStore::SaveAs(const std::filesystem::path& path) {
  DeclareUtf8(document_->xml);
  std::ostringstream bytes;
  document_->xml.save(bytes, "  ", pugi::format_default, pugi::encoding_utf8);
  WriteFileAtomically(path, bytes.str());
}

}  // namespace mv

// ConfigurationStore: one instance's "VantrelConfiguration.xml": sections of parameters, each
// with a declared type and a value.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/variant.h"

namespace mv {

/// A loaded store. The file is only read when loading and only replaced by Save; a store
/// that was changed and not saved leaves the file as it was.
class ConfigurationStore {
 public:
  /// Reads the store at `path`. Throws RuntimeError 53 when it does not exist, 70 when it is
  /// read-only or cannot be opened for writing (unless only `forReading`), 31037 when it is
  /// not a well-formed store.
  explicit ConfigurationStore(const std::filesystem::path& path, bool forReading = false);
  ~ConfigurationStore();
  ConfigurationStore(const ConfigurationStore&) = delete;
  ConfigurationStore& operator=(const ConfigurationStore&) = delete;

  /// Sets the value of the parameter `name` of `section` (exact names). Throws component
  /// error 15 when either is not declared, 20 when the declared type is not "Integer" or
  /// "String" or differs from the value's type.
  void SetValue(const std::string& section, const std::string& name, const Variant& value);

  /// The value of the parameter `name` of `section` (exact names) as its declared type holds
  /// it: a 16-bit integer or a text; Null when it has none. Throws component error 15 when
  /// either is not declared, 20 when the declared type is not "Integer" or "String".
  Variant Value(const std::string& section, const std::string& name) const;

  /// True when a value was set since loading or saving.
  bool Changed() const { return changed_; }

  /// Writes the store to its file atomically, as UTF-8 (its declaration, if it names an
  /// encoding, is made to say so). Throws RuntimeError 70 when it cannot; the file
  /// then keeps its previous content.
  void Save();
  /// Writes the store as Save does, but to `path`; its own file stays as it is.
  void SaveAs(const std::filesystem::path& path);
  const std::filesystem::path& Path() const { return path_; }

 private:
  struct Document;
  std::filesystem::path path_;
  std::unique_ptr<Document> document_;
  bool changed_ = false;
};

}  // namespace mv

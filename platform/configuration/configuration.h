// Configuration: the product's configuration component as the parameter migration uses it:
// the installation's application instances and the typed parameter store of an instance.
#pragma once

#include <string>
#include <vector>

#include "platform/variant.h"

namespace mv {

/// One application instance of the installation: the record of three texts that the
/// component lists.
struct ApplicationInstance {
  std::string name;         // the instance's key in the collection
  std::string description;  // free text for the operator
  std::string folder;       // the folder that holds the instance's configuration store
};

/// The configuration component. An object serves one caller and is released right after
/// use: values set since LoadConfiguration reach the file when it is released.
class Configuration {
 public:
  /// Releasing without Release() (a caller that is already handling an error) still writes
  /// the values set so far; a failure to write them then is not reported.
  virtual ~Configuration() = default;

  /// Opens the store at `path` for reading and writing. Throws RuntimeError 53 when the file
  /// does not exist, 70 when it is read-only or cannot be opened, 31037 when it is not a
  /// well-formed store.
  virtual void LoadConfiguration(const std::string& path) = 0;

  /// Stores `value` under (`section`, `name`); names are compared exactly. Throws the
  /// component errors 19 (no store loaded), 15 (not declared) or 20 (type rejected).
  virtual void SetParameterValue(const std::string& section, const std::string& name,
                                 const Variant& value) = 0;

  /// The instances of `application` in the installation's configuration file, in the file's
  /// order; empty when the application is not listed. Throws RuntimeError 53, 70 or 31037
  /// for the installation's configuration file as LoadConfiguration does for a store.
  virtual std::vector<ApplicationInstance> GetApplicationInstances(
      const std::string& application) = 0;

  /// Writes the values set since LoadConfiguration to the store, replacing the file in one
  /// step, and closes the store. Throws RuntimeError 70 when the file cannot be replaced; the
  /// file then keeps its previous content.
  virtual void Release() = 0;
};

}  // namespace mv

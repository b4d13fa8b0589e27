// VariantObject: the dictionary and list objects a Variant of kind Object holds.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/variant.h"

namespace mv {

/// Key and value of a dictionary entry.
using VariantEntry = std::pair<std::string, Variant>;

/// An object value: a dictionary of named values in insertion order, with keys looked up
/// case-insensitively, or a list of values. Order forms and their lines are dictionaries, the
/// order form's "Items" a list.
class VariantObject {
 public:
  enum class Shape { Dictionary, List };

  static std::shared_ptr<VariantObject> NewDictionary();
  static std::shared_ptr<VariantObject> NewList();

  Shape GetShape() const { return shape_; }
  /// "Dictionary" or "SimpleList".
  std::string ClassName() const;

  // Dictionary. These throw RuntimeError 438 "Object doesn't support this property or
  // method" on a list, and the list operations do the same on a dictionary.
  /// Sets the value of `key`; a key that exists (any letter case) keeps its place and name.
  void Set(std::string_view key, Variant value);
  /// The value of `key`, or Empty when the dictionary has no such key.
  Variant Get(std::string_view key) const;
  bool Contains(std::string_view key) const;
  const std::vector<VariantEntry>& Entries() const { return entries_; }

  // List.
  void Append(Variant value);
  const std::vector<Variant>& Elements() const { return elements_; }

 private:
  explicit VariantObject(Shape shape) : shape_(shape) {}
  /// Throws RuntimeError 438 when this object has another shape.
  void RequireShape(Shape shape) const;
  std::vector<VariantEntry>::const_iterator Find(std::string_view key) const;

  Shape shape_;
  std::vector<VariantEntry> entries_;
  std::vector<Variant> elements_;
};

}  // namespace mv

// VariantObject: dictionaries with case-insensitive keys in insertion order, and lists.
#include "platform/variant_object.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/runtime_error.h"
#include "platform/unicode.h"

namespace mv {

std::shared_ptr<VariantObject> VariantObject::NewDictionary() {
  return std::shared_ptr<VariantObject>(new VariantObject(Shape::Dictionary));
}

std::shared_ptr<VariantObject> VariantObject::NewList() {
  return std::shared_ptr<VariantObject>(new VariantObject(Shape::List));
}

std::string VariantObject::ClassName() const {
  return shape_ == Shape::Dictionary ? "Dictionary" : "SimpleList";
}

void VariantObject::RequireShape(Shape shape) const {
  if (shape_ != shape) {
    throw errors::ObjectDoesNotSupport();
  }
}

std::vector<VariantEntry>::const_iterator VariantObject::Find(std::string_view key) const {
  RequireShape(Shape::Dictionary);
  return std::find_if(entries_.begin(), entries_.end(), [key](const VariantEntry& entry) {
    return EqualsIgnoreCase(entry.first, key);
  });
}

void VariantObject::Set(std::string_view key, Variant value) {
  const auto found = Find(key);
  if (found == entries_.end()) {
    entries_.emplace_back(std::string(key), std::move(value));
  } else {
    entries_[static_cast<std::size_t>(found - entries_.begin())].second = std::move(value);
  }
}

Variant VariantObject::Get(std::string_view key) const {
  const auto found = Find(key);
  return found == entries_.end() ? Variant() : found->second;
}

bool VariantObject::Contains(std::string_view key) const { return Find(key) != entries_.end(); }

void VariantObject::Append(Variant value) {
  RequireShape(Shape::List);
  elements_.push_back(std::move(value));
}

}  // namespace mv

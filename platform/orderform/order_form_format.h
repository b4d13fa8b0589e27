// The marshalled form of a stored order form: encoder and checked decoder.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/variant.h"

namespace mv {

/// Objects nested deeper than this are refused by the encoder and the decoder alike.
inline constexpr int kMaxOrderFormDepth = 32;

/// The marshalled bytes of an order form: the marker "MVOF", a 16-bit format version, then
/// the dictionary with its entries in enumeration order, every value as a kind tag and its
/// payload (nested dictionaries and lists included). Throws RuntimeError kOrderFormDamaged
/// when objects are nested deeper than kMaxOrderFormDepth (a list holding itself included),
/// for a text that is not UTF-8, a date outside the calendar and a Decimal that is no number.
std::vector<std::uint8_t> EncodeOrderForm(const VariantObject& orderForm);

/// The order form that EncodeOrderForm wrote into `marshalled`. Every length, count and tag is
/// checked before it is used; anything malformed (truncated data, an unknown version or tag, a
/// length past the end, invalid UTF-8, an impossible date, a key twice, trailing bytes)
/// throws RuntimeError kOrderFormDamaged "Order form '<orderId>' is damaged: <what and
/// where>". Never reads outside `marshalled`.
std::shared_ptr<VariantObject> DecodeOrderForm(std::span<const std::uint8_t> marshalled,
                                               std::string_view orderId);

}  // namespace mv

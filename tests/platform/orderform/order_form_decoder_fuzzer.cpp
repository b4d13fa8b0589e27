// libFuzzer target for the order-form decoder: any bytes either decode or raise the damage
// error, and whatever decodes encodes back to at most as many bytes, which a second round
// leaves as they are. (Not byte for byte at once: a Single's signalling NaN comes back quiet,
// since the runtime holds a Single as a double; a Decimal stored with a sign or with leading
// or trailing zeros, "+012.50", is the same number and comes back in its shortest text.)
//
// Built with clang and run by scripts/fuzz [SECONDS]; the normal build leaves it out.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "platform/errors.h"
#include "platform/orderform/order_form_format.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  std::shared_ptr<mv::VariantObject> orderForm;
  try {
    orderForm = mv::DecodeOrderForm(input, "fuzz");
  } catch (const mv::RuntimeError& error) {
    if (error.Number() != mv::errors::kOrderFormDamaged) std::abort();
    return 0;
  }
  const std::vector<std::uint8_t> again = mv::EncodeOrderForm(*orderForm);
  if (again.size() > size) std::abort();
  if (mv::EncodeOrderForm(*mv::DecodeOrderForm(again, "fuzz")) != again) std::abort();
  return 0;
}

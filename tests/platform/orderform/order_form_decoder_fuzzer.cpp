// libFuzzer target for the order-form decoder: any bytes either decode or raise the damage
// error, and whatever decodes encodes back to the very same bytes.
//
// Build and run (clang only; the normal build leaves it out):
//   cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DMV_FUZZ=ON
//   cmake --build build-fuzz --target order_form_decoder_fuzzer
//   build-fuzz/tests/platform/orderform/order_form_decoder_fuzzer -max_total_time=300 CORPUS
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "platform/orderform/order_form_format.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  std::shared_ptr<mv::VariantObject> orderForm;
  try {
    orderForm = mv::DecodeOrderForm(input, "fuzz");
  } catch (const mv::RuntimeError& error) {
    if (error.Number() != mv::kOrderFormDamaged) std::abort();
    return 0;
  }
  std::vector<std::uint8_t> again;
  try {
    again = mv::EncodeOrderForm(*orderForm);
  } catch (const mv::RuntimeError&) {
    return 0;  // an Error value: read, but not writable
  }
  if (!std::equal(again.begin(), again.end(), input.begin(), input.end())) std::abort();
  return 0;
}

// libFuzzer target for a control's persisted properties as bytes: any bytes
// give a bag or none, and a bag written out again gives the same bytes (the
// form has exactly one spelling of each bag, so anything else is a fault of
// the reader or the writer).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "saver/toolkit/property_bag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using ventalune::toolkit::FontDescription;
  using ventalune::toolkit::PropertyBag;
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<PropertyBag> bag = PropertyBag::Deserialise(bytes);
  if (!bag) return 0;
  const std::vector<uint8_t> again = bag->Serialise();
  if (again.size() != size || !std::equal(again.begin(), again.end(), bytes.begin())) std::abort();

  // Every key read as every kind: a value that cannot stand for the kind
  // gives the default, never a crash or a value out of range.
  for (const std::string& key : bag->Keys()) {
    if (!bag->Contains(key)) std::abort();
    (void)bag->Read<bool>(key, false);
    (void)bag->Read<uint8_t>(key, 0);
    (void)bag->Read<int16_t>(key, 0);
    (void)bag->Read<int32_t>(key, 0);
    if (bag->Read<std::string>(key, std::string()).size() > PropertyBag::kMaxTextBytes) std::abort();
    if (bag->Read<FontDescription>(key, FontDescription{}).face.size() > PropertyBag::kMaxKeyBytes) std::abort();
  }
  return 0;
}

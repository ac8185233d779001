// libFuzzer target for the EXIF orientation reader: any bytes give an
// orientation of 1..8, never a crash, a hang or a read out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "saver/pictures/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto orientation = static_cast<int>(ventalune::pictures::ReadExifOrientation(std::span(data, size)));
  if (orientation < 1 || orientation > 8) std::abort();
  return 0;
}

#pragma once
// GIF LZW encoding for 8-bit pixels, the classic way: a 5003-slot
// open-addressing hash table, codes of 9 to 12 bits, a clear code when the
// table fills, output in data sub-blocks of at most 254 bytes.
#include <cstdint>
#include <span>
#include <vector>

namespace ventalune::gif {

// Appends the encoded data sub-blocks of `pixels` (minimum code size 8) to
// `out`, without the zero-size terminator block. An empty picture is a clear
// code followed by the end code.
void EncodeLzw8(std::span<const uint8_t> pixels, std::vector<uint8_t>& out);

}  // namespace ventalune::gif

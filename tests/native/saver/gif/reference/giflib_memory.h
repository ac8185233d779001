#pragma once
// Feeding giflib from bytes already in memory, for the comparisons with our
// decoder and the benchmarks against it.
#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace ventalune::gif {

struct MemoryInput {
  const std::vector<uint8_t>* bytes;
  size_t at;
};

// giflib's read callback over a MemoryInput in the file's UserData.
inline int ReadMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(count), input->bytes->size() - input->at);
  std::memcpy(out, input->bytes->data() + input->at, n);
  input->at += n;
  return static_cast<int>(n);
}

}  // namespace ventalune::gif

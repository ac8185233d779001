#include "common/ole_picture.h"

#include <ole2.h>

#include <cstring>

namespace ventalune {

ComPtr<IPicture> LoadOlePicture(std::span<const uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > 0x7fffffffu) return nullptr;
  // The loader reads from a stream over a movable memory block.
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* rawStream = nullptr;
  // The stream owns the memory from here on and frees it with itself.
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &rawStream))) {
    GlobalFree(memory);
    return nullptr;
  }
  const ComPtr<IStream> stream(rawStream);
  void* picture = nullptr;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture, &picture)) ||
      !picture) {
    return nullptr;
  }
  return ComPtr<IPicture>(static_cast<IPicture*>(picture));
}

}  // namespace ventalune

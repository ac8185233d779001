#pragma once
// The bytes of one of a program's own RT_RCDATA resources (artwork, the
// banner, the cursor), as the module maps them: valid while it is loaded.
#include <windows.h>

#include <cstdint>
#include <span>

namespace ventalune {

// Empty when the module has no such resource.
inline std::span<const uint8_t> ResourceData(HMODULE module, int resourceId) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return {};
  return {data, SizeofResource(module, found)};
}

}  // namespace ventalune

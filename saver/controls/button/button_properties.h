#pragma once
// The button's persisted properties: what the host keeps of it between
// design and run, read and written in a fixed order with fixed defaults.
#include <cstdint>
#include <string>

#include "saver/toolkit/property_bag.h"

namespace ventalune::button {

inline constexpr char kEnabledKey[] = "Enabled";
inline constexpr char kCaptionKey[] = "Caption";
inline constexpr char kFontKey[] = "Font";
inline constexpr char kFirstRunKey[] = "FirstRun";
inline constexpr char kFontColourKey[] = "FontColour";
inline constexpr char kVisibleKey[] = "Visible";

// The caption a new button shows at design time, and the one a bag without a
// caption gives. They differ: a caption of exactly "Command" is not stored
// and so comes back as "Command1".
inline constexpr char kDesignCaption[] = "Command";
inline constexpr char kUnsavedCaption[] = "Command1";

struct ButtonProperties {
  bool enabled = true;
  std::string caption = kDesignCaption;
  toolkit::FontDescription font;
  uint8_t firstRun = 1;
  int32_t fontColour = 0;  // 0x00BBGGRR
  int16_t visible = 1;     // background style: 1 opaque, 0 transparent
};

// Reads every key in its order. Only the stored font's face is taken: size,
// character set and style stay those of `labelFont`.
ButtonProperties ReadButtonProperties(const toolkit::PropertyBag& bag, const toolkit::FontDescription& ambientFont,
                                      const toolkit::FontDescription& labelFont);

// Writes every key in the same order; values equal to their write default
// are left out.
void WriteButtonProperties(toolkit::PropertyBag& bag, const ButtonProperties& properties,
                           const toolkit::FontDescription& ambientFont);

}  // namespace ventalune::button

#include "saver/controls/button/button_properties.h"

namespace ventalune::button {
namespace {

constexpr uint8_t kFirstRunDefault = 1;
constexpr int32_t kFontColourDefault = 0;
constexpr int16_t kVisibleDefault = 1;

}  // namespace

ButtonProperties ReadButtonProperties(const toolkit::PropertyBag& bag, const toolkit::FontDescription& ambientFont,
                                      const toolkit::FontDescription& labelFont) {
  ButtonProperties read;
  read.enabled = bag.Read<bool>(kEnabledKey, true);
  read.caption = bag.Read<std::string>(kCaptionKey, kUnsavedCaption);
  read.font = labelFont;
  read.font.face = bag.Read<toolkit::FontDescription>(kFontKey, ambientFont).face;
  read.firstRun = bag.Read<uint8_t>(kFirstRunKey, kFirstRunDefault);
  read.fontColour = bag.Read<int32_t>(kFontColourKey, kFontColourDefault);
  read.visible = bag.Read<int16_t>(kVisibleKey, kVisibleDefault);
  return read;
}

void WriteButtonProperties(toolkit::PropertyBag& bag, const ButtonProperties& properties,
                           const toolkit::FontDescription& ambientFont) {
  bag.Write<bool>(kEnabledKey, properties.enabled, true);
  bag.Write<std::string>(kCaptionKey, properties.caption, kDesignCaption);
  bag.Write<toolkit::FontDescription>(kFontKey, properties.font, ambientFont);
  bag.Write<uint8_t>(kFirstRunKey, properties.firstRun, kFirstRunDefault);
  bag.Write<int32_t>(kFontColourKey, properties.fontColour, kFontColourDefault);
  bag.Write<int16_t>(kVisibleKey, properties.visible, kVisibleDefault);
}

}  // namespace ventalune::button

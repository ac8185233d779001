#include "saver/controls/anigif/control_persistence.h"

namespace ventalune::anigif {

PersistedControl ReadControlProperties(const toolkit::PropertyBag& bag, const PersistedControl& current,
                                       const std::function<LoadOutcome(const PersistedControl&)>& load) {
  PersistedControl read = current;
  read.gif = bag.Read<toolkit::ByteArray>(kGifKey, current.gif);
  // The delay is kept as 16 bits; a bag that holds more is clamped like a
  // property write.
  read.properties.minFrameDelay =
      ClampMinFrameDelay(bag.Read<int32_t>(kDelayKey, current.properties.minFrameDelay));

  const int32_t stretch = bag.Read<int32_t>(kStretchKey, kDefaultStretch);
  read.properties.stretch = ValidStretch(stretch) ? stretch : kDefaultStretch;
  // An older store kept the delay mode as a Boolean, True being −1.
  int32_t delayLoad = bag.Read<int32_t>(kDelayLoadKey, kDefaultDelayMode);
  if (delayLoad == -1) delayLoad = 1;
  read.properties.delayMode = ValidDelayMode(delayLoad) ? delayLoad : kDefaultDelayMode;
  const int32_t mirror = bag.Read<int32_t>(kMirrorKey, 0);
  read.properties.mirror = ValidMirror(mirror) ? mirror : 0;

  read.enabled = bag.Read<bool>(kEnabledKey, true);
  read.mouseIcon = bag.Read<toolkit::ByteArray>(kMouseIconKey, {});
  read.mousePointer = bag.Read<int16_t>(kMousePointerKey, 0);

  const LoadOutcome outcome = load ? load(read) : LoadOutcome{};
  if (outcome.frames > 0) {
    read.loops = LoopCountFrom(bag.Read<int32_t>(kLoopsKey, outcome.fileLoopCount));
  }
  return read;
}

void WriteControlProperties(toolkit::PropertyBag& bag, const PersistedControl& control) {
  bag.Write<toolkit::ByteArray>(kGifKey, control.gif, {});
  bag.Write<int16_t>(kDelayKey, static_cast<int16_t>(ClampMinFrameDelay(control.properties.minFrameDelay)),
                     kDefaultMinFrameDelay);
  bag.Write<int32_t>(kStretchKey, control.properties.stretch, kDefaultStretch);
  bag.Write<int32_t>(kLoopsKey, control.loops, 0);
  bag.Write<int32_t>(kDelayLoadKey, control.properties.delayMode, kDefaultDelayMode);
  bag.Write<int32_t>(kMirrorKey, control.properties.mirror, 0);
  bag.Write<toolkit::ByteArray>(kMouseIconKey, control.mouseIcon, {});
  bag.Write<int16_t>(kMousePointerKey, static_cast<int16_t>(control.mousePointer), 0);
  bag.Write<bool>(kEnabledKey, control.enabled, true);
}

}  // namespace ventalune::anigif

#pragma once
// One loaded GIF as the animated-picture control holds it: the frame records
// and palettes, every frame decoded into the strip, the composite, and the
// mirror style. The control decides when to build, draw and mirror; this
// class does the pixel work.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "saver/gif/composition_plan.h"
#include "saver/gif/compositor.h"
#include "saver/gif/frame_decoder.h"
#include "saver/gif/frame_strip.h"
#include "saver/gif/gif_limits.h"
#include "saver/gif/gif_types.h"
#include "saver/gif/mirror.h"
#include "saver/gif/surface.h"

namespace ventalune::gif {

struct LoadOptions {
  // Only frame 1 is built, and the file's bytes are kept: a control in a
  // designer shows one frame and saves the picture with its properties.
  bool firstFrameOnly = false;
  // Build frame 1 now and leave the rest to BuildRemainingFrames, so the
  // first picture appears at once.
  bool deferRemainingFrames = false;
  Limits limits{};
  // A canvas larger than this many pixels is built and composed at a
  // working size a whole factor smaller both ways (0: always at its own
  // size): every k-th pixel of every k-th row, k the smallest whole factor
  // that brings the canvas within it.
  int64_t maxWorkingPixels = 0;
};

class GifPicture {
 public:
  // Forgets any earlier picture, then reads and builds this one. Returns the
  // number of frames, 0 when the data is not a GIF we can show.
  int32_t Load(std::span<const uint8_t> file, const LoadOptions& options = {});

  // Decodes the frames a deferred load left out and mirrors them like the
  // rest. False when there was nothing pending.
  bool BuildRemainingFrames();

  // Everything back to "nothing loaded". The mirror style is a setting and stays.
  void Release();

  // Changes the mirror style (bit 0 horizontal, bit 1 vertical): the built
  // frames (only frame 1 when `firstOnly`) and, when asked, the composite are
  // flipped by the difference. Frames not built yet take the new style when
  // they are.
  void SetMirror(int32_t style, bool firstOnly, bool includeComposite);

  // Draws frame `index` (0 = frame 1) onto a target of the logical size.
  // False when that frame is not built.
  bool DrawFrame(size_t index, Surface& target);

  int32_t frameCount() const { return static_cast<int32_t>(frames_.size()); }
  size_t builtFrames() const { return built_; }
  bool remainingPending() const { return (mirrorStyle_ & kMirrorRestPending) != 0; }
  // The canvas as the file declares it: what the picture is laid out at.
  int32_t logicalWidth() const { return logicalWidth_; }
  int32_t logicalHeight() const { return logicalHeight_; }
  // The canvas the frames are built and composed at: the logical one
  // divided by the reduction, rounded up. The frame records, the strip and
  // the composite are all at this size.
  int32_t workingWidth() const { return workingWidth_; }
  int32_t workingHeight() const { return workingHeight_; }
  int32_t reduction() const { return reduction_; }
  int32_t loopCount() const { return loopCount_; }
  // The stored style, with 0x20 while the rest of the frames are pending.
  int32_t mirrorStyle() const { return mirrorStyle_; }
  const std::vector<FrameRecord>& frames() const { return frames_; }
  const std::vector<Palette>& palettes() const { return palettes_; }
  const Palette& PaletteOf(const FrameRecord& frame) const;
  const FrameStrip& strip() const { return strip_; }
  const CompositionPlan& plan() const { return plan_; }
  const Compositor& compositor() const { return compositor_; }
  // The file's bytes while they are still needed (design mode, or frames pending).
  const std::vector<uint8_t>& source() const { return source_; }
  // How the last decoded frame's code stream ended, one entry per built frame.
  const std::vector<LzwStatus>& decodeResults() const { return decodeResults_; }

 private:
  void DecodeFrames(size_t from, size_t to);
  void MirrorFrames(size_t from, size_t to, int32_t change);
  void Finish();

  LoadOptions options_{};
  std::vector<uint8_t> source_;
  std::vector<FrameRecord> frames_;
  std::vector<FrameRecord> declared_;  // the file's own frame records, while frames are still to decode
  std::vector<FramePosition> positions_;
  std::vector<Palette> palettes_;
  std::vector<LzwStatus> decodeResults_;
  int32_t logicalWidth_ = 0;
  int32_t logicalHeight_ = 0;
  int32_t workingWidth_ = 0;
  int32_t workingHeight_ = 0;
  int32_t reduction_ = 1;
  int32_t loopCount_ = 0;
  int32_t mirrorStyle_ = 0;
  size_t built_ = 0;
  CompositionPlan plan_{};
  FrameStrip strip_;
  Compositor compositor_;
  DecodeScratch scratch_;
};

}  // namespace ventalune::gif

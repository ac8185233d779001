#include "saver/gif/gif_picture.h"

#include <new>

#include "saver/gif/gif_scan.h"
#include "saver/gif/mirror.h"

namespace ventalune::gif {
namespace {

const Palette kBlackPalette{};

}  // namespace

void GifPicture::Release() {
  source_.clear();
  frames_.clear();
  declared_.clear();
  positions_.clear();
  palettes_.clear();
  decodeResults_.clear();
  logicalWidth_ = logicalHeight_ = loopCount_ = 0;
  workingWidth_ = workingHeight_ = 0;
  reduction_ = 1;
  // A load that replaces one whose frames were still pending must mirror its
  // own frame 1 again, so the pending mark goes with the old frames.
  mirrorStyle_ &= ~kMirrorRestPending;
  built_ = 0;
  plan_ = CompositionPlan{};
  strip_ = FrameStrip{};
  compositor_ = Compositor{};
  scratch_ = DecodeScratch{};
}

int32_t GifPicture::Load(std::span<const uint8_t> file, const LoadOptions& options) {
  Release();
  options_ = options;
  if (file.empty() || static_cast<int64_t>(file.size()) > options.limits.maxFileBytes) return 0;

  GifScan scan = ScanGif(file);
  if (scan.frames.empty()) return 0;
  const int64_t canvas = int64_t{scan.logicalWidth} * scan.logicalHeight;
  if (canvas > options.limits.maxCanvasPixels) return 0;

  positions_ = std::move(scan.positions);
  palettes_ = std::move(scan.palettes);
  logicalWidth_ = scan.logicalWidth;
  logicalHeight_ = scan.logicalHeight;
  loopCount_ = scan.loopCount;
  reduction_ = WorkingReduction(logicalWidth_, logicalHeight_, options.maxWorkingPixels);
  workingWidth_ = Reduced(logicalWidth_, reduction_);
  workingHeight_ = Reduced(logicalHeight_, reduction_);
  try {
    if (reduction_ > 1) {
      declared_ = scan.frames;
      frames_.reserve(declared_.size());
      for (const FrameRecord& frame : declared_) frames_.push_back(ReduceFrame(frame, reduction_));
    } else {
      frames_ = std::move(scan.frames);
    }
    plan_ = PlanComposition(frames_, workingWidth_, workingHeight_, options.firstFrameOnly);
    const int64_t stripWidth = LayOutStrip(frames_, plan_.stripFirstOnly);
    if (!CreateStrip(strip_, stripWidth, workingHeight_, options.limits)) {
      Release();
      return 0;
    }
    source_.assign(file.begin(), file.end());
    compositor_.Reset(plan_, workingWidth_, workingHeight_);
  } catch (const std::bad_alloc&) {
    Release();
    return 0;
  }

  DecodeFrames(0, 1);
  if (options.firstFrameOnly || !options.deferRemainingFrames) {
    if (!plan_.stripFirstOnly) DecodeFrames(1, frames_.size());
    Finish();
  } else {
    MirrorFrames(0, 1, mirrorStyle_);
    mirrorStyle_ |= kMirrorRestPending;
  }
  return frameCount();
}

bool GifPicture::BuildRemainingFrames() {
  if (!remainingPending()) return false;
  if (!plan_.stripFirstOnly) DecodeFrames(1, frames_.size());
  Finish();
  return true;
}

void GifPicture::DecodeFrames(size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    const FrameRecord& declared = reduction_ > 1 ? declared_[i] : frames_[i];
    decodeResults_.push_back(DecodeFrame(source_, positions_[i], declared, frames_[i], reduction_, strip_, scratch_));
  }
  built_ = to;
}

void GifPicture::MirrorFrames(size_t from, size_t to, int32_t change) {
  change &= kMirrorHorizontal | kMirrorVertical;
  if (change == 0) return;
  for (size_t i = from; i < to && i < built_; ++i)
    MirrorFrame(strip_, frames_[i], change, workingWidth_, workingHeight_);
}

// Freshly decoded frames take the stored style; frame 1 already has it when
// it was built ahead of the rest.
void GifPicture::Finish() {
  const size_t from = remainingPending() ? 1 : 0;
  mirrorStyle_ &= ~kMirrorRestPending;
  MirrorFrames(from, built_, mirrorStyle_);
  positions_.clear();
  declared_.clear();
  declared_.shrink_to_fit();
  scratch_ = DecodeScratch{};
  if (!options_.firstFrameOnly) {
    source_.clear();
    source_.shrink_to_fit();
  }
}

void GifPicture::SetMirror(int32_t style, bool firstOnly, bool includeComposite) {
  style &= kMirrorHorizontal | kMirrorVertical;
  const int32_t change = (mirrorStyle_ & (kMirrorHorizontal | kMirrorVertical)) ^ style;
  // While the rest is pending only frame 1 exists to flip; the others are
  // mirrored with the new style when they are built.
  MirrorFrames(0, firstOnly || remainingPending() ? 1 : built_, change);
  if (includeComposite && compositor_.hasComposite()) MirrorSurface(compositor_.composite(), change);
  mirrorStyle_ = style | (mirrorStyle_ & kMirrorRestPending);
}

const Palette& GifPicture::PaletteOf(const FrameRecord& frame) const {
  if (frame.palette < 0 || static_cast<size_t>(frame.palette) >= palettes_.size()) return kBlackPalette;
  return palettes_[static_cast<size_t>(frame.palette)];
}

bool GifPicture::DrawFrame(size_t index, Surface& target) {
  if (index >= built_) return false;
  const FrameRecord& frame = frames_[index];
  compositor_.Draw(index, frame, PaletteOf(frame), strip_, target);
  return true;
}

}  // namespace ventalune::gif

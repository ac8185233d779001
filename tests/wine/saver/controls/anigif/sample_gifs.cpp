#include "sample_gifs.h"

#include "gif_builder.h"
#include "gifview_runner.h"
#include "saver/gif/gif_picture.h"
#include "support/bitmap_file.h"

namespace ventalune::wine_test {

using gif::testing::GifBuilder;
using gif::testing::ImageBlock;
using gif::testing::Ramp;

namespace {

// Eight distinct colours for the global table (size code 2).
const std::vector<uint8_t> kEight = {0,   0,   0,  250, 20,  20,  20, 200, 20,  20,  20, 230,
                                     240, 240, 30, 30,  220, 220, 220, 40, 220, 255, 255, 255};

ImageBlock Block(int left, int top, int width, int height, int localCode = -1, bool interlaced = false) {
  ImageBlock block;
  block.left = left;
  block.top = top;
  block.width = width;
  block.height = height;
  block.localTableSizeCode = localCode;
  block.interlaced = interlaced;
  block.minCodeSize = 3;
  return block;
}

// Interlaced images send rows 0, 8, … then 4, 12, … then 2, 6, … then 1, 3, …
std::vector<uint8_t> Interlace(const std::vector<uint8_t>& pixels, int width, int height) {
  std::vector<uint8_t> out;
  for (int pass = 0; pass < 4; ++pass) {
    static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int y = start[pass]; y < height; y += step[pass])
      out.insert(out.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
  }
  return out;
}

}  // namespace

SampleGif DisposalsGif() {
  GifBuilder gif("GIF89a", 12, 10, 2, kEight);
  gif.Control(0, 10, true, 0).Image(Block(0, 0, 8, 6), Ramp(8, 6, 4));
  gif.Control(2, 10, true, 1).Image(Block(4, 3, 6, 5), Ramp(6, 5, 5));
  gif.Control(3, 10).Image(Block(2, 2, 5, 5), Ramp(5, 5, 8));
  gif.Control(1, 10, true, 2).Image(Block(6, 4, 6, 6), Ramp(6, 6, 7));
  gif.Trailer();
  return {"disposals", gif.bytes()};
}

SampleGif LocalPalettesGif() {
  GifBuilder gif("GIF89a", 10, 8, 1);
  gif.Control(1, 10).Image(Block(0, 0, 10, 8, 2, true), Interlace(Ramp(10, 8, 8), 10, 8));
  gif.Control(1, 10).Image(Block(0, 0, 10, 8), Ramp(10, 8, 4));
  gif.Control(1, 10, true, 3).Image(Block(2, 1, 6, 7, 2, true), Interlace(Ramp(6, 7, 8), 6, 7));
  gif.Trailer();
  return {"local-palettes", gif.bytes()};
}

SampleGif OutsideTheCanvasGif() {
  GifBuilder gif("GIF89a", 8, 8, 2, kEight);
  gif.Control(1, 10).Image(Block(0, 0, 8, 8), Ramp(8, 8, 8));
  gif.Control(1, 10).Image(Block(6, 6, 6, 4), Ramp(6, 4, 7));
  gif.Trailer();
  return {"outside-canvas", gif.bytes()};
}

SampleGif TransparentStillGif() {
  GifBuilder gif("GIF89a", 6, 5, 2, kEight);
  gif.Control(0, 0, true, 2).Image(Block(0, 0, 6, 5), Ramp(6, 5, 6));
  gif.Trailer();
  return {"transparent-still", gif.bytes()};
}

SampleGif DelaysGif(const std::vector<int>& hundredths, int loopCount) {
  GifBuilder gif("GIF89a", 4, 4, 2, kEight);
  if (loopCount >= 0) gif.Loop(loopCount);
  for (size_t i = 0; i < hundredths.size(); ++i)
    gif.Control(1, hundredths[i]).Image(Block(0, 0, 4, 4), std::vector<uint8_t>(16, static_cast<uint8_t>(1 + i % 7)));
  gif.Trailer();
  return {"delays", gif.bytes()};
}

SampleGif LargeStillGif() {
  GifBuilder gif("GIF89a", 300, 200, 2, kEight);
  gif.Image(Block(0, 0, 300, 200), Ramp(300, 200, 7));
  gif.Trailer();
  return {"large-still", gif.bytes()};
}

SampleGif LargeAnimationGif() {
  GifBuilder gif("GIF89a", 300, 200, 2, kEight);
  for (int modulus : {7, 5, 8, 3}) gif.Control(1, 10).Image(Block(0, 0, 300, 200), Ramp(300, 200, modulus));
  gif.Trailer();
  return {"large-animation", gif.bytes()};
}

SampleGif HugeFramesGif() {
  GifBuilder gif("GIF89a", 4096, 4096, 2, kEight);
  for (int i = 0; i < 16; ++i) {
    gif.Control(1, 10).Descriptor(Block(0, 0, 4096, 4096));
    gif.Raw(gif::testing::SubBlocks(gif::testing::DecoderPacedCodes(3).Clear().Put(1 + i % 7).End().Bytes()));
  }
  gif.Trailer();
  return {"huge-frames", gif.bytes()};
}

std::vector<gif::Surface> ComposeFrames(const std::vector<uint8_t>& gif) {
  gif::GifPicture picture;
  picture.Load(gif);
  std::vector<gif::Surface> frames;
  for (size_t i = 0; i < picture.builtFrames(); ++i) {
    gif::Surface surface;
    surface.Reset(picture.logicalWidth(), picture.logicalHeight());
    picture.DrawFrame(i, surface);
    frames.push_back(std::move(surface));
  }
  return frames;
}

std::string WriteTempGif(const SampleGif& gif) {
  const std::string path = FreshFolder("gif") + "\\" + gif.name + ".gif";
  WriteRawFile(path, gif.bytes);
  return path;
}

}  // namespace ventalune::wine_test

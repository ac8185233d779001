// gifframes IN.gif OUTDIR        writes OUTDIR/frame-001.pam … and prints the facts
// gifframes IN.gif               decodes and composes every frame, writes nothing
// gifframes --export K IN.gif OUT.gif
//                                writes frame K (1-based) through the exporter
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "saver/gif/gif_exporter.h"
#include "saver/gif/gif_picture.h"

namespace {

using ventalune::gif::GifPicture;
using ventalune::gif::Surface;

constexpr char kUsage[] =
    "usage: gifframes IN.gif [OUTDIR]\n"
    "       gifframes --export K IN.gif OUT.gif\n";

std::optional<std::vector<uint8_t>> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// PAM, RGB plus alpha: alpha 0 where the background shows.
std::vector<uint8_t> PamBytes(const Surface& surface) {
  const std::string header = "P7\nWIDTH " + std::to_string(surface.width) + "\nHEIGHT " + std::to_string(surface.height) +
                             "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  bytes.reserve(bytes.size() + surface.colour.size() * 4);
  for (size_t i = 0; i < surface.colour.size(); ++i) {
    const auto colour = surface.colour[i];
    bytes.push_back(ventalune::gif::RedOf(colour));
    bytes.push_back(ventalune::gif::GreenOf(colour));
    bytes.push_back(ventalune::gif::BlueOf(colour));
    bytes.push_back(surface.background[i] ? 0 : 255);
  }
  return bytes;
}

bool Load(GifPicture& picture, const std::string& path) {
  const auto bytes = ReadFile(path);
  if (!bytes) {
    std::fprintf(stderr, "gifframes: cannot read %s\n", path.c_str());
    return false;
  }
  if (picture.Load(*bytes) == 0) {
    std::fprintf(stderr, "gifframes: %s is not a GIF that can be shown\n", path.c_str());
    return false;
  }
  return true;
}

int Frames(const std::string& in, const char* outDir) {
  GifPicture picture;
  if (!Load(picture, in)) return 1;
  if (outDir) {
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    std::printf("frames %d\nloops %d\nsize %d %d\n", picture.frameCount(), picture.loopCount(), picture.logicalWidth(),
                picture.logicalHeight());
  }
  Surface surface;
  for (size_t i = 0; i < picture.builtFrames(); ++i) {
    surface.Reset(picture.logicalWidth(), picture.logicalHeight());
    picture.DrawFrame(i, surface);
    if (!outDir) continue;
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03zu.pam", i + 1);
    if (!WriteFile(std::filesystem::path(outDir) / name, PamBytes(surface))) {
      std::fprintf(stderr, "gifframes: cannot write %s/%s\n", outDir, name);
      return 1;
    }
    std::printf("frame %zu delay %d\n", i + 1, picture.frames()[i].delayMs);
  }
  return 0;
}

int Export(const char* frameText, const std::string& in, const std::string& out) {
  char* end = nullptr;
  const long frame = std::strtol(frameText, &end, 10);
  GifPicture picture;
  if (!Load(picture, in)) return 1;
  if (*end != '\0' || frame < 1 || static_cast<size_t>(frame) > picture.builtFrames()) {
    std::fprintf(stderr, "gifframes: no frame %s in %s\n", frameText, in.c_str());
    return 1;
  }
  const auto& record = picture.frames()[static_cast<size_t>(frame - 1)];
  if (!WriteFile(out, ExportFrame(picture.strip(), record, picture.PaletteOf(record)))) {
    std::fprintf(stderr, "gifframes: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "--export") return Export(argv[2], args[2], args[3]);
  if (args.size() == 1 || args.size() == 2) return Frames(args[0], args.size() == 2 ? argv[2] : nullptr);
  std::fputs(kUsage, stderr);
  return 2;
}

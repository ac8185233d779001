#include "common/preview_frames.h"

#include <algorithm>
#include <charconv>

namespace ventalune {
namespace {

std::optional<uint64_t> ParseNumber(std::string_view text) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string FormatPreviewArguments(const PreviewArguments& arguments) {
  return std::string(kPreviewSwitch) + " " + std::to_string(arguments.window) + " " +
         std::to_string(arguments.mapping);
}

std::optional<PreviewArguments> ParsePreviewArguments(std::string_view text) {
  const std::string_view prefix = kPreviewSwitch;
  if (text.substr(0, prefix.size()) != prefix || text.size() <= prefix.size() || text[prefix.size()] != ' ')
    return std::nullopt;
  text.remove_prefix(prefix.size() + 1);
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::optional<uint64_t> window = ParseNumber(text.substr(0, blank));
  const std::optional<uint64_t> mapping = ParseNumber(text.substr(blank + 1));
  if (!window || !mapping || *window == 0 || *mapping == 0) return std::nullopt;
  return PreviewArguments{*window, *mapping};
}

bool PreviewPictureFits(const PreviewPicture& picture, int32_t side) {
  return picture.width >= 1 && picture.height >= 1 && picture.width <= side && picture.height <= side;
}

bool PreviewHeaderValid(const PreviewHeader& header) {
  if (header.magic != kPreviewMagic || header.size != sizeof(PreviewHeader)) return false;
  if (!PreviewPictureFits(header.room, kPreviewPictureSide) || !PreviewPictureFits(header.ring, kPreviewPictureSide))
    return false;
  if (header.latestFrame < -1 || header.latestFrame > 1) return false;
  return header.latestFrame == -1 || PreviewPictureFits(header.frames[header.latestFrame], kPreviewFrameSide);
}

PreviewPicture PreviewFrameSize(int32_t width, int32_t height, int32_t side) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  const int32_t longer = std::max(width, height);
  if (longer <= side) return {width, height};
  const auto scaled = [&](int32_t length) {
    return std::max<int32_t>(1, static_cast<int32_t>(int64_t{length} * side / longer));
  };
  return {scaled(width), scaled(height)};
}

}  // namespace ventalune

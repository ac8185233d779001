#include "support/bitmap_file.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace ventalune::wine_test {

std::wstring WidePath(const std::string& path) {
  const int size = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
  return wide;
}

bool WriteRawFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteRawFile(WidePath(path), bytes);
}

std::vector<uint8_t> ReadRawFile(const std::string& path) { return ReadRawFile(WidePath(path)); }

BitmapPicture ReadBmpFile(const std::string& path) { return ReadBmpFile(WidePath(path)); }

bool WriteBmpFile(const std::string& path, int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
  return WriteBmpFile(WidePath(path), width, height, pixel);
}

bool WriteRawFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"wb"), std::fclose);
  return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

std::vector<uint8_t> ReadRawFile(const std::wstring& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"rb"), std::fclose);
  if (!file) return {};
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  for (size_t got; (got = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  return bytes;
}

BitmapPicture ReadBmpFile(const std::wstring& path) {
  const std::vector<uint8_t> bytes = ReadRawFile(path);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  if (bytes.size() < sizeof(file) + sizeof(info)) return {};
  std::memcpy(&file, bytes.data(), sizeof(file));
  std::memcpy(&info, bytes.data() + sizeof(file), sizeof(info));
  const int bytesPerPixel = info.biBitCount / 8;
  if (file.bfType != 0x4D42 || info.biCompression != BI_RGB || (bytesPerPixel != 3 && bytesPerPixel != 4) ||
      info.biWidth <= 0 || info.biHeight == 0)
    return {};
  BitmapPicture picture;
  picture.width = info.biWidth;
  picture.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  const size_t stride = (static_cast<size_t>(picture.width) * bytesPerPixel + 3) & ~size_t{3};
  if (file.bfOffBits + stride * picture.height > bytes.size()) return {};
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    const int fileRow = info.biHeight > 0 ? picture.height - 1 - y : y;
    const uint8_t* row = bytes.data() + file.bfOffBits + stride * fileRow;
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * bytesPerPixel;
      picture.pixels[static_cast<size_t>(y) * picture.width + x] = {p[2], p[1], p[0]};
    }
  }
  return picture;
}

bool WriteBmpFile(const std::wstring& path, int width, int height, const std::function<Rgb(int x, int y)>& pixel) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + stride * height);
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::vector<uint8_t> bytes(file.bfSize);
  std::memcpy(bytes.data(), &file, sizeof(file));
  std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bytes.data() + file.bfOffBits + stride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      row[x * 3] = c.b, row[x * 3 + 1] = c.g, row[x * 3 + 2] = c.r;
    }
  }
  return WriteRawFile(path, bytes);
}

}  // namespace ventalune::wine_test

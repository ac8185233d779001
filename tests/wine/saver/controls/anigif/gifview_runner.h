#pragma once
// Runs gifview from tools-bin with its standard output and error in a file,
// and reads back what it said and the shots it took.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/bitmap_file.h"

namespace ventalune::wine_test {

struct Shot {
  int number = 0;
  int frame = 0;
  long long atMs = 0;
};

struct GifviewRun {
  bool finished = false;  // ended before the time-out
  DWORD exitCode = 0;
  std::vector<std::string> lines;  // output lines that are not shots
  std::vector<Shot> shots;
  std::string shotFolder;
  BitmapPicture Picture(const Shot& shot) const;
  int Count(const std::string& line) const;
};

std::string GifviewPath();
// A fresh empty folder under the temporary folder.
std::string FreshFolder(const std::string& name);
// `arguments` after the program name; --capture goes to a fresh folder when
// `capture` is set.
GifviewRun RunGifview(const std::string& arguments, bool capture, std::chrono::milliseconds timeout);

}  // namespace ventalune::wine_test

#pragma once
// Folders beside the test program: data made at build time, and where the
// gallery picture is left for tools/test.
#include <windows.h>

#include <string>

namespace ventalune::wine_test {

inline std::string TestProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.find_last_of('\\'));
  return folder;
}

inline std::string TestDataFolder() { return TestProgramFolder() + "\\data"; }

}  // namespace ventalune::wine_test

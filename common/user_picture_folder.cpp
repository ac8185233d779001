#include "common/user_picture_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "common/program_contract.h"

namespace ventalune {

std::wstring UserPictureFolder() {
  PWSTR local = nullptr;
  // Made when a new profile does not have it yet: the saver writes below it.
  if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local)) || !local) {
    CoTaskMemFree(local);
    return {};
  }
  std::wstring folder = std::wstring(local) + L"\\" + kUserFolderName;
  CoTaskMemFree(local);
  return folder;
}

}  // namespace ventalune

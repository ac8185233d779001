#include "saver/launcher/run_pictures.h"

#include <vector>

#include "common/handles.h"
#include "common/program_contract.h"
#include "common/user_picture_folder.h"
#include "saver/pictures/bitmap_file.h"

namespace ventalune::launcher {
namespace {

bool IsReparsePoint(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

std::optional<std::wstring> PrepareRunPictureFolder() {
  const std::wstring folder = UserPictureFolder();
  if (folder.empty()) return std::nullopt;
  CreateDirectoryW(folder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsReparsePoint(attributes))
    return std::nullopt;
  return folder;
}

bool WriteRunPicture(const pictures::PictureSurface& picture, const std::wstring& path) {
  const std::vector<uint8_t> bytes = pictures::EncodeBitmapFile(picture.pixels(), picture.width(), picture.height());
  if (bytes.empty()) return false;
  // Opened as itself, never followed, and shared with no one while written.
  const OwnedFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  DWORD done = 0;
  return GetFileInformationByHandle(file.get(), &information) && !IsReparsePoint(information.dwFileAttributes) &&
         SetEndOfFile(file.get()) &&
         WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
}

}  // namespace ventalune::launcher

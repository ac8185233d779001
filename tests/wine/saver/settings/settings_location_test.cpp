// Which settings file is in force on a real file system: the program
// folder's while it accepts writes, the user's own when it does not.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "common/wide_text.h"
#include "saver/settings/profile_file.h"
#include "saver/settings/settings_keys.h"
#include "saver/settings/user_settings_folder.h"

namespace ventalune::settings {
namespace {

std::optional<std::string> ReadBytes(const std::wstring& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"rb"), std::fclose);
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0;) bytes.append(chunk, got);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path.c_str(), L"wb"), std::fclose);
  if (file) std::fwrite(bytes.data(), 1, bytes.size(), file.get());
}

void ForceDelete(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}

// All six keys as the dialog saves them.
void SaveAsTheDialogDoes(const std::wstring& ini) {
  WriteIniValue(kSettingsSection, kKeyPictureKind, " 1", ini);
  WriteIniValue(kSettingsSection, kKeyPictureFile, "C:\\Pictures\\sky.jpg", ini);
  WriteIniValue(kSettingsSection, kKeyBgmKind, " 1", ini);
  WriteIniValue(kSettingsSection, kKeyBgmRepeatTrack, " 4", ini);
  WriteIniValue(kSettingsSection, kKeyBgmFile, "", ini);
  WriteIniValue(kSettingsSection, kKeyMonitors, " 0", ini);
}

// Two program folders of our own, and the user's settings file put aside
// for the test and restored afterwards.
class SettingsLocationTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"ventalune-location-" + std::to_wstring(GetCurrentProcessId());
    writable_ = base + L"-open";
    protected_ = base + L"-locked";
    for (const std::wstring& folder : {writable_, protected_}) {
      ForceDelete(folder + L"\\Ventalune.ini");
      CreateDirectoryW(folder.c_str(), nullptr);
    }
    ASSERT_FALSE(UserDataFolder().empty());
    userFolder_ = UserDataFolder() + L"\\Ventalune";
    userFile_ = userFolder_ + L"\\Ventalune.ini";
    savedUserFile_ = ReadBytes(userFile_);
    ForceDelete(userFile_);
  }

  void TearDown() override {
    for (const std::wstring& folder : {writable_, protected_}) {
      ForceDelete(folder + L"\\Ventalune.ini");
      RemoveDirectoryW(folder.c_str());
    }
    ForceDelete(userFile_);
    if (savedUserFile_) {
      WriteBytes(userFile_, *savedUserFile_);
    } else {
      RemoveDirectoryW(userFolder_.c_str());
    }
  }

  // The program folder's file as an install where the user may not write
  // leaves it: present, with the installer's choice, and read-only.
  void ProtectTheInstalledFile() {
    const std::wstring ini = protected_ + L"\\Ventalune.ini";
    WriteIniValue(kSettingsSection, kKeyBgmKind, " 1", ini);
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_FALSE(CanWriteSettingsFile(ini)) << "this system lets the read-only file be written";
  }

  std::wstring writable_, protected_, userFolder_, userFile_;
  std::optional<std::string> savedUserFile_;
};

TEST_F(SettingsLocationTest, WritableFolderKeepsItsFileAndProbingLeavesNothing) {
  const std::wstring ini = writable_ + L"\\Ventalune.ini";
  // An earlier save from a protected install must not take over.
  WriteBytes(userFile_, "[Section]\r\n");

  const SettingsFiles files = SettingsFilesOf(writable_);
  EXPECT_EQ(files.readPath, ini);
  EXPECT_EQ(files.writePath, ini);
  EXPECT_EQ(GetFileAttributesW(ini.c_str()), INVALID_FILE_ATTRIBUTES) << "the probe left a file behind";
}

TEST_F(SettingsLocationTest, ProtectedInstallSavesTheSameBytesToTheUserFile) {
  ProtectTheInstalledFile();
  const std::wstring installed = protected_ + L"\\Ventalune.ini";
  const std::optional<std::string> installedBytes = ReadBytes(installed);

  // Before the first save the installed file is the one read.
  SettingsFiles files = SettingsFilesOf(protected_);
  EXPECT_EQ(files.readPath, installed);
  ASSERT_EQ(files.writePath, userFile_);

  SaveAsTheDialogDoes(files.writePath);
  // The same save into a writable folder's file, named as it is: once the
  // user's own file exists, it is the one in force for every folder.
  SaveAsTheDialogDoes(IniPath(writable_));

  const std::optional<std::string> saved = ReadBytes(userFile_);
  ASSERT_TRUE(saved) << "nothing was written to " << Utf8FromWide(userFile_);
  EXPECT_EQ(saved, ReadBytes(writable_ + L"\\Ventalune.ini"));
  EXPECT_EQ(ReadBytes(installed), installedBytes) << "the installed file changed";

  // The next start reads what was saved.
  files = SettingsFilesOf(protected_);
  EXPECT_EQ(files.readPath, userFile_);
  ProfileFile profile;
  DiskFiles disk;
  Settings settings;
  const std::string protectedInCodePage = AnsiFromWide(protected_).value_or("");
  LoadSettings(settings, profile, disk, protectedInCodePage, files.readPath, IsSystemLeadByte);
  EXPECT_EQ(settings.BgmKind, settings::MusicKind::kAudioCd);
  EXPECT_EQ(settings.BgmRepeatTrack, 4);
  EXPECT_EQ(settings.PictureFolder, protectedInCodePage);
}

}  // namespace
}  // namespace ventalune::settings

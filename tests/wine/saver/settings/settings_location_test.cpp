// Which settings file is in force on a real file system: the program
// folder's while it accepts writes, the user's own when it does not.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "saver/settings/profile_file.h"
#include "saver/settings/settings_keys.h"
#include "saver/settings/user_settings_folder.h"

namespace ventalune::settings {
namespace {

std::optional<std::string> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

void ForceDelete(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

// All five keys as the dialog saves them.
void SaveAsTheDialogDoes(const std::string& ini) {
  WriteIniValue(kSettingsSection, kKeyPictureKind, " 1", ini);
  WriteIniValue(kSettingsSection, kKeyPictureFile, "C:\\Pictures\\sky.jpg", ini);
  WriteIniValue(kSettingsSection, kKeyBgmKind, " 1", ini);
  WriteIniValue(kSettingsSection, kKeyBgmRepeatTrack, " 4", ini);
  WriteIniValue(kSettingsSection, kKeyBgmFile, "", ini);
}

// Two program folders of our own, and the user's settings file put aside
// for the test and restored afterwards.
class SettingsLocationTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "ventalune-location-" + std::to_string(GetCurrentProcessId());
    writable_ = base + "-open";
    protected_ = base + "-locked";
    for (const std::string& folder : {writable_, protected_}) {
      ForceDelete(folder + "\\Ventalune.ini");
      CreateDirectoryA(folder.c_str(), nullptr);
    }
    ASSERT_FALSE(UserDataFolder().empty());
    userFolder_ = UserDataFolder() + "\\Ventalune";
    userFile_ = userFolder_ + "\\Ventalune.ini";
    savedUserFile_ = ReadBytes(userFile_);
    ForceDelete(userFile_);
  }

  void TearDown() override {
    for (const std::string& folder : {writable_, protected_}) {
      ForceDelete(folder + "\\Ventalune.ini");
      RemoveDirectoryA(folder.c_str());
    }
    ForceDelete(userFile_);
    if (savedUserFile_) {
      WriteBytes(userFile_, *savedUserFile_);
    } else {
      RemoveDirectoryA(userFolder_.c_str());
    }
  }

  // The program folder's file as an install where the user may not write
  // leaves it: present, with the installer's choice, and read-only.
  void ProtectTheInstalledFile() {
    const std::string ini = protected_ + "\\Ventalune.ini";
    WriteIniValue(kSettingsSection, kKeyBgmKind, " 1", ini);
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_FALSE(CanWriteSettingsFile(ini)) << "this system lets the read-only file be written";
  }

  std::string writable_, protected_, userFolder_, userFile_;
  std::optional<std::string> savedUserFile_;
};

TEST_F(SettingsLocationTest, WritableFolderKeepsItsFileAndProbingLeavesNothing) {
  const std::string ini = writable_ + "\\Ventalune.ini";
  // An earlier save from a protected install must not take over.
  WriteBytes(userFile_, "[Section]\r\n");

  const SettingsFiles files = SettingsFilesOf(writable_);
  EXPECT_EQ(files.readPath, ini);
  EXPECT_EQ(files.writePath, ini);
  EXPECT_EQ(GetFileAttributesA(ini.c_str()), INVALID_FILE_ATTRIBUTES) << "the probe left a file behind";
}

TEST_F(SettingsLocationTest, ProtectedInstallSavesTheSameBytesToTheUserFile) {
  ProtectTheInstalledFile();
  const std::string installed = protected_ + "\\Ventalune.ini";
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
  ASSERT_TRUE(saved) << "nothing was written to " << userFile_;
  EXPECT_EQ(saved, ReadBytes(writable_ + "\\Ventalune.ini"));
  EXPECT_EQ(ReadBytes(installed), installedBytes) << "the installed file changed";

  // The next start reads what was saved.
  files = SettingsFilesOf(protected_);
  EXPECT_EQ(files.readPath, userFile_);
  ProfileFile profile;
  DiskFiles disk;
  Settings settings;
  LoadSettings(settings, profile, disk, protected_, files.readPath, IsSystemLeadByte);
  EXPECT_EQ(settings.BgmKind, settings::MusicKind::kAudioCd);
  EXPECT_EQ(settings.BgmRepeatTrack, 4);
  EXPECT_EQ(settings.PictureFolder, protected_);
}

}  // namespace
}  // namespace ventalune::settings

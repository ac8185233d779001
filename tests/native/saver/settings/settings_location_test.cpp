#include "saver/settings/settings_location.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "row_name.h"
#include "saver/settings/settings_keys.h"

namespace ventalune::settings {
namespace {

constexpr wchar_t kProgramFolder[] = L"C:\\Windows\\System32";
constexpr char kProgramFolderInCodePage[] = "C:\\Windows\\System32";
constexpr wchar_t kProgramFile[] = L"C:\\Windows\\System32\\Ventalune.ini";
// A user name no ANSI code page spells: the paths stay as the system gave them.
constexpr wchar_t kUserData[] = L"C:\\Users\\\u0410\u043d\u044f\u738b\\AppData\\Roaming";
constexpr wchar_t kUserFile[] = L"C:\\Users\\\u0410\u043d\u044f\u738b\\AppData\\Roaming\\Ventalune\\Ventalune.ini";

// Any number of settings files, some of which refuse writes as a protected
// folder does: the write is lost without a word.
class Disk final : public ProfilePort, public FilePort {
 public:
  std::map<std::wstring, std::map<std::pair<std::string, std::string>, std::string>> files;
  std::set<std::wstring> readOnly;
  std::set<std::string> chosenFiles;  // the user's pictures and music

  std::string ReadString(const std::string& section, const std::string& key, const std::wstring& path,
                         std::size_t capacity) override {
    std::string value;
    if (const auto file = files.find(path); file != files.end()) {
      if (const auto found = file->second.find({section, key}); found != file->second.end()) value = found->second;
    }
    value.resize(capacity, '\0');
    return value;
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::wstring& path) override {
    if (readOnly.count(path) != 0) return false;
    files[path][{section, key}] = value;
    return true;
  }
  bool CanRead(const std::wstring&) override { return true; }
  bool CanOpenForReading(const std::string& path) override { return chosenFiles.count(path) != 0; }
  bool CanOpenForReading(const std::wstring& path) override { return files.count(path) != 0; }
};

struct LocateRow {
  const char* name;
  bool programFileWritable;
  const wchar_t* userData;
  bool userFileExists;
  const wchar_t* readPath;
  const wchar_t* writePath;
};

class LocateSettingsTest : public testing::TestWithParam<LocateRow> {};

TEST_P(LocateSettingsTest, ChoosesTheFileInForce) {
  const LocateRow& row = GetParam();
  Disk disk;
  if (row.userFileExists) disk.files[kUserFile];
  const SettingsFiles found = LocateSettings(kProgramFolder, row.programFileWritable, row.userData, disk);
  EXPECT_EQ(found.readPath, row.readPath);
  EXPECT_EQ(found.writePath, row.writePath);
}

INSTANTIATE_TEST_SUITE_P(
    Places, LocateSettingsTest,
    testing::Values(
        LocateRow{"WritableFolderKeepsTheFileBesideTheProgram", true, kUserData, false, kProgramFile, kProgramFile},
        // Someone saved while the install was protected, then it became
        // writable: that save is the latest, and the user's file stays in force.
        LocateRow{"EarlierUserFileWinsOverAWritableFolder", true, kUserData, true, kUserFile, kUserFile},
        LocateRow{"ProtectedFolderReadsItsFileUntilTheFirstSave", false, kUserData, false, kProgramFile, kUserFile},
        LocateRow{"ProtectedFolderAfterTheFirstSaveUsesTheUserFile", false, kUserData, true, kUserFile, kUserFile},
        LocateRow{"NoUserFolderLeavesTheProgramFolderFile", false, L"", true, kProgramFile, kProgramFile}),
    testing_support::RowName());

// The dialog's save in a protected install, then the next start: what the
// user chose is what the run gets, and the program folder's file is left
// as it was.
TEST(SettingsInAProtectedInstall, SavedChoicesComeBackOnTheNextStart) {
  Disk disk;
  disk.files[kProgramFile][{kSettingsSection, kKeyBgmKind}] = "1";
  disk.chosenFiles.insert("C:\\Music\\a.mp3");
  disk.readOnly.insert(kProgramFile);

  Settings before;
  LoadSettings(before, disk, disk, kProgramFolderInCodePage,
               LocateSettings(kProgramFolder, false, kUserData, disk).readPath, NoLeadBytes);
  EXPECT_EQ(before.BgmKind, MusicKind::kAudioCd) << "the installed file is read before the first save";

  const std::wstring target = LocateSettings(kProgramFolder, false, kUserData, disk).writePath;
  for (const auto& [key, value] : {std::pair{kKeyPictureKind, " 0"}, std::pair{kKeyPictureFile, ""},
                                   std::pair{kKeyBgmKind, " 2"}, std::pair{kKeyBgmRepeatTrack, " 0"},
                                   std::pair{kKeyBgmFile, "C:\\Music\\a.mp3"}}) {
    WriteIniValue(disk, kSettingsSection, key, value, target);
  }

  Settings after;
  LoadSettings(after, disk, disk, kProgramFolderInCodePage,
               LocateSettings(kProgramFolder, false, kUserData, disk).readPath, NoLeadBytes);
  EXPECT_EQ(after.BgmKind, MusicKind::kSoundFile);
  EXPECT_EQ(after.BgmFile, "C:\\Music\\a.mp3");
  EXPECT_EQ(after.BgmFolder, "C:\\Music");
  EXPECT_EQ(after.PictureFolder, kProgramFolderInCodePage);
  EXPECT_EQ(disk.files[kProgramFile].size(), 1u) << "the installed file is untouched";
}

}  // namespace
}  // namespace ventalune::settings

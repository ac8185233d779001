// The settings store on the real profile functions and file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "common/wide_text.h"
#include "saver/settings/disk_replacement.h"
#include "saver/settings/profile_file.h"
#include "saver/settings/settings_keys.h"

namespace ventalune::settings {
namespace {

// The bytes of a name in code page 932, from the platform's own tables.
std::string ShiftJis(const wchar_t* text) {
  const int size = WideCharToMultiByte(932, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  bytes.pop_back();
  return bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder of our own for each test.
class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "ventalune-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
              testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : folder_) {
      if (c == '/') c = '_';
    }
    RemoveFolder();
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
  }
  void TearDown() override { RemoveFolder(); }

  std::string In(const std::string& name) const { return folder_ + "\\" + name; }

  std::string folder_;

 private:
  void RemoveFolder() {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string path = In(found.cFileName);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveDirectoryA(path.c_str());
        } else {
          DeleteFileA(path.c_str());
        }
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder_.c_str());
  }
};

TEST_F(SettingsFileTest, DialogWritesShiftJisKeysAndBlankLedNumbers) {
  const std::string ini = In("Ventalune.ini");
  const std::wstring wideIni = WideFromAnsi(ini);
  // All six keys, in the order and the forms the dialog writes them.
  WriteIniValue(kSettingsSection, kKeyPictureKind, " 0", wideIni);
  WriteIniValue(kSettingsSection, kKeyPictureFile, "C:\\Pictures\\sky.jpg", wideIni);
  WriteIniValue(kSettingsSection, kKeyBgmKind, " 1", wideIni);
  WriteIniValue(kSettingsSection, kKeyBgmRepeatTrack, " 7", wideIni);
  WriteIniValue(kSettingsSection, kKeyBgmFile, "C:\\My Music\\a b.mp3", wideIni);
  WriteIniValue(kSettingsSection, kKeyMonitors, " 1", wideIni);

  // The key names arrive in Shift-JIS whatever this system's code page is.
  // This platform drops the numbers' leading blank when it writes; files that
  // keep it (as other systems write them) are read in the next test.
  const std::string expected = "[Section]\r\n" + ShiftJis(L"画像") + "=0\r\n" + ShiftJis(L"画像ﾌｧｲﾙ") +
                               "=C:\\Pictures\\sky.jpg\r\n" + ShiftJis(L"BGM区分") + "=1\r\n" +
                               ShiftJis(L"BGMﾘﾋﾟｰﾄ") + "=7\r\n" + ShiftJis(L"BGMﾌｧｲﾙ") +
                               "=C:\\My Music\\a b.mp3\r\n" + ShiftJis(L"ﾓﾆﾀ") + "=1\r\n";
  EXPECT_EQ(ReadBytes(ini), expected);

  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyPictureKind, wideIni), "0");
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyPictureFile, wideIni), "C:\\Pictures\\sky.jpg");
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyBgmKind, wideIni), "1");
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyBgmRepeatTrack, wideIni), "7");
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyBgmFile, wideIni), "C:\\My Music\\a b.mp3");
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyMonitors, wideIni), "1");
}

TEST_F(SettingsFileTest, FileFromAJapaneseSystemLoadsAsWritten) {
  WriteBytes(In("sky.bmp"), "BM");
  WriteBytes(In("a b.mp3"), "ID3");
  WriteBytes(In("Ventalune.ini"), "[Section]\r\n" + ShiftJis(L"画像") + "= 1\r\n" + ShiftJis(L"画像ﾌｧｲﾙ") + "=" +
                                   In("sky.bmp") + "\r\n" + ShiftJis(L"BGM区分") + "= 2\r\n" +
                                   ShiftJis(L"BGMﾘﾋﾟｰﾄ") + "= 3\r\n" + ShiftJis(L"BGMﾌｧｲﾙ") + "=" +
                                   In("a b.mp3") + "\r\n");
  ProfileFile profile;
  DiskFiles files;
  Settings settings;
  LoadSettings(settings, profile, files, folder_, WideFromAnsi(In("Ventalune.ini")), IsSystemLeadByte);

  EXPECT_EQ(settings.PictureKind, 1);
  EXPECT_EQ(settings.PictureFile, In("sky.bmp"));
  EXPECT_EQ(settings.PictureFolder, folder_);
  EXPECT_EQ(settings.BgmKind, settings::MusicKind::kSoundFile);
  EXPECT_EQ(settings.BgmRepeatTrack, 3);
  EXPECT_EQ(settings.BgmFile, In("a b.mp3"));
  EXPECT_EQ(settings.BgmFolder, folder_);
}

TEST_F(SettingsFileTest, LongValueComesBackCutTo255Bytes) {
  const std::string ini = In("Ventalune.ini");
  const std::wstring wideIni = WideFromAnsi(ini);
  std::string value;
  for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + i % 26);
  WriteIniValue(kSettingsSection, kKeyBgmFile, value, wideIni);
  EXPECT_NE(ReadBytes(ini).find(value), std::string::npos);
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyBgmFile, wideIni), value.substr(0, 255));
}

TEST_F(SettingsFileTest, MissingKeyAndMissingFileAreEmpty) {
  const std::string ini = In("Ventalune.ini");
  const std::wstring wideIni = WideFromAnsi(ini);
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyBgmFile, wideIni), "");
  WriteIniValue(kSettingsSection, kKeyBgmKind, " 1", wideIni);
  EXPECT_EQ(ReadIniValue(kSettingsSection, kKeyBgmFile, wideIni), "");
}

TEST(ProgramSettingsTest, MissingFileGivesDefaultsAndTheProgramFolder) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring wideFolder(self, length);
  wideFolder.resize(wideFolder.find_last_of(L'\\'));
  const std::string folder = AnsiFromWide(wideFolder).value_or("");

  EXPECT_EQ(ProgramFolder(), wideFolder);
  ASSERT_EQ(IniPath(), wideFolder + L"\\Ventalune.ini");
  DeleteFileW(IniPath().c_str());

  const std::optional<Settings> settings = LoadProgramSettings();
  ASSERT_TRUE(settings) << "a missing file holds nothing, and is no refusal";
  EXPECT_EQ(settings->PictureKind, 0);
  EXPECT_EQ(settings->PictureFile, "");
  EXPECT_EQ(settings->PictureFolder, folder);
  EXPECT_EQ(settings->BgmKind, settings::MusicKind::kNone);
  EXPECT_EQ(settings->BgmRepeatTrack, 0);
  EXPECT_EQ(settings->BgmFile, "");
  EXPECT_EQ(settings->BgmFolder, folder);
}

// A save puts a whole new file in the old one's place: the same bytes the
// profile functions would have written in place, what else the file holds
// kept, and no copy left beside it.
TEST_F(SettingsFileTest, WholeSaveWritesTheFileAsInPlaceWritesWould) {
  const std::string ini = In("Ventalune.ini");
  WriteBytes(ini, "[Other]\r\nkept=1\r\n[Section]\r\n" + ShiftJis(L"画像") + "=1\r\n");
  Settings choices;
  choices.BgmKind = MusicKind::kAudioCd;
  choices.BgmRepeatTrack = 7;
  choices.Monitors = settings::kMonitorsMainOnly;
  ProfileFile profile;
  DiskReplacement replacement;

  ASSERT_TRUE(SaveSettings(choices, profile, replacement, WideFromAnsi(ini)));

  EXPECT_EQ(ReadBytes(ini), "[Other]\r\nkept=1\r\n[Section]\r\n" + ShiftJis(L"画像") + "=0\r\n" +
                                ShiftJis(L"画像ﾌｧｲﾙ") + "=\r\n" + ShiftJis(L"BGM区分") + "=1\r\n" +
                                ShiftJis(L"BGMﾘﾋﾟｰﾄ") + "=7\r\n" + ShiftJis(L"BGMﾌｧｲﾙ") + "=\r\n" +
                                ShiftJis(L"ﾓﾆﾀ") + "=1\r\n");
  EXPECT_EQ(GetFileAttributesA((ini + ".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Another program holds the file. Reading waits a moment, then refuses
// rather than reading it as empty; a save leaves it exactly as it was.
struct HeldRow {
  const char* name;
  DWORD access;
  DWORD share;
  bool readable;
};
class HeldSettingsFileTest : public SettingsFileTest, public testing::WithParamInterface<HeldRow> {};

TEST_P(HeldSettingsFileTest, IsReadOrRefusedButNeverOverwritten) {
  const std::string ini = In("Ventalune.ini");
  const std::string bytes = "[Section]\r\n" + ShiftJis(L"BGM区分") + "=1\r\n";
  WriteBytes(ini, bytes);
  const HANDLE held = CreateFileA(ini.c_str(), GetParam().access, GetParam().share, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ProfileFile profile;
  DiskReplacement replacement;

  EXPECT_EQ(profile.CanRead(WideFromAnsi(ini)), GetParam().readable);
  EXPECT_FALSE(SaveSettings(Settings{}, profile, replacement, WideFromAnsi(ini)));
  EXPECT_NE(replacement.lastError(), 0u);
  CloseHandle(held);

  EXPECT_EQ(ReadBytes(ini), bytes);
  EXPECT_EQ(GetFileAttributesA((ini + ".saving").c_str()), INVALID_FILE_ATTRIBUTES);
}
INSTANTIATE_TEST_SUITE_P(
    Holders, HeldSettingsFileTest,
    testing::Values(HeldRow{"SharedWithNobody", GENERIC_READ | GENERIC_WRITE, 0, false},
                    HeldRow{"OpenForWritingSharedForReading", GENERIC_WRITE, FILE_SHARE_READ, true}),
    [](const testing::TestParamInfo<HeldRow>& row) { return std::string(row.param.name); });

struct ExistsRow {
  const char* name;
  const char* path;  // "@" stands for the test's folder
  bool exists;
};

class FileExistsTest : public SettingsFileTest, public testing::WithParamInterface<ExistsRow> {};

TEST_P(FileExistsTest, OnlyFilesThatOpenForReading) {
  WriteBytes(In("a.txt"), "text");
  ASSERT_TRUE(CreateDirectoryA(In("sub").c_str(), nullptr));
  WriteBytes(In("locked.txt"), "text");
  // Held open by someone who shares it with nobody.
  const HANDLE locked =
      CreateFileA(In("locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);

  std::string path = GetParam().path;
  if (path.rfind("@", 0) == 0) path = folder_ + path.substr(1);
  EXPECT_EQ(FileExists(path), GetParam().exists) << path;
  CloseHandle(locked);

  // Asking leaves nothing open: the file can be deleted right away.
  EXPECT_TRUE(DeleteFileA(In("a.txt").c_str()));
}

INSTANTIATE_TEST_SUITE_P(Paths, FileExistsTest,
                         testing::Values(ExistsRow{"File", "@\\a.txt", true},
                                         ExistsRow{"FileWithTrailingBackslash", "@\\a.txt\\", true},
                                         ExistsRow{"Folder", "@\\sub", false},
                                         ExistsRow{"FolderWithTrailingBackslash", "@\\sub\\", false},
                                         ExistsRow{"MissingFile", "@\\missing.txt", false},
                                         ExistsRow{"EmptyPath", "", false},
                                         ExistsRow{"FileHeldExclusively", "@\\locked.txt", false},
                                         ExistsRow{"Wildcard", "@\\*.txt", false},
                                         ExistsRow{"DeviceName", "NUL", false}),
                         [](const testing::TestParamInfo<ExistsRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ventalune::settings

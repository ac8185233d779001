#include "saver/settings/settings_store.h"
#include "saver/settings/settings_writes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "row_name.h"
#include "saver/settings/settings_keys.h"

namespace ventalune::settings {
namespace {

constexpr char kProgramFolder[] = "C:\\Saver";
constexpr wchar_t kProgramFolderWide[] = L"C:\\Saver";

// One settings file, answering as the profile functions do: the value cut to
// the buffer and NUL-padded, or the empty default for a missing key or file.
class FakeProfile final : public ProfilePort {
 public:
  std::wstring path = IniPath(kProgramFolderWide);
  std::map<std::pair<std::string, std::string>, std::string> values;
  // Set to fill the whole buffer regardless of its size, as a careless
  // platform might.
  bool overrunBuffer = false;
  std::vector<std::pair<std::string, std::string>> writtenNames;

  std::string ReadString(const std::string& section, const std::string& key, const std::wstring& filePath,
                         std::size_t capacity) override {
    std::string value;
    if (filePath == path) {
      const auto found = values.find({section, key});
      if (found != values.end()) value = found->second;
    }
    if (overrunBuffer) return value;
    value.resize(std::min(value.size(), capacity - 1));
    value.resize(capacity, '\0');
    return value;
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::wstring& filePath) override {
    writtenNames.emplace_back(section, key);
    if (writesBeforeFailing == 0) return false;
    if (writesBeforeFailing > 0) --writesBeforeFailing;
    if (filePath == path) values[{section, key}] = value;
    return true;
  }
  // How many writes succeed before the file is held by someone else; -1: all.
  int writesBeforeFailing = -1;
};

class FakeFiles final : public FilePort {
 public:
  std::set<std::string> readable;
  std::vector<std::string> asked;
  bool CanOpenForReading(const std::string& path) override {
    asked.push_back(path);
    return readable.count(path) != 0;
  }
  // The settings file's own folder is asked about by the locating code only.
  bool CanOpenForReading(const std::wstring&) override { return false; }
};

// ---- LoadSettings -------------------------------------------------------

struct LoadRow {
  const char* name;
  std::vector<std::pair<const char*, const char*>> file;  // key, value in section "Section"
  std::set<std::string> readable;
  Settings before;
  Settings after;
};

Settings Expect(int16_t pictureKind, const char* pictureFile, const char* pictureFolder, int16_t bgmKind,
                int16_t repeatTrack, const char* bgmFile, const char* bgmFolder) {
  return Settings{pictureKind, pictureFile, pictureFolder, static_cast<MusicKind>(bgmKind), repeatTrack, bgmFile,
                  bgmFolder};
}

Settings Fresh() { return Settings{}; }

Settings Before(int16_t pictureKind, int16_t bgmKind, int16_t repeatTrack) {
  Settings settings;
  settings.PictureKind = pictureKind;
  settings.BgmKind = static_cast<MusicKind>(bgmKind);
  settings.BgmRepeatTrack = repeatTrack;
  return settings;
}

void ExpectSettings(const Settings& settings, const Settings& want) {
  EXPECT_EQ(settings.PictureKind, want.PictureKind);
  EXPECT_EQ(settings.PictureFile, want.PictureFile);
  EXPECT_EQ(settings.PictureFolder, want.PictureFolder);
  EXPECT_EQ(settings.BgmKind, want.BgmKind);
  EXPECT_EQ(settings.BgmRepeatTrack, want.BgmRepeatTrack);
  EXPECT_EQ(settings.BgmFile, want.BgmFile);
  EXPECT_EQ(settings.BgmFolder, want.BgmFolder);
}

class LoadSettingsTest : public testing::TestWithParam<LoadRow> {};

TEST_P(LoadSettingsTest, FillsAndRepairsTheRecord) {
  FakeProfile profile;
  for (const auto& [key, value] : GetParam().file) profile.values[{kSettingsSection, key}] = value;
  FakeFiles files;
  files.readable = GetParam().readable;
  Settings settings = GetParam().before;

  LoadSettings(settings, profile, files, kProgramFolder, profile.path, NoLeadBytes);

  ExpectSettings(settings, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadSettingsTest,
    testing::Values(
        LoadRow{"NoFileGivesDefaults", {}, {}, Fresh(), Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"AllChoicesHonoured",
                {{kKeyPictureKind, " 1"},
                 {kKeyPictureFile, "C:\\Pictures\\sky.jpg"},
                 {kKeyBgmKind, " 2"},
                 {kKeyBgmRepeatTrack, " 0"},
                 {kKeyBgmFile, "C:\\My Music\\a b.mp3"}},
                {"C:\\Pictures\\sky.jpg", "C:\\My Music\\a b.mp3"},
                Fresh(),
                Expect(1, "C:\\Pictures\\sky.jpg", "C:\\Pictures", 2, 0, "C:\\My Music\\a b.mp3", "C:\\My Music")},
        LoadRow{"DeletedPictureFallsBackToDesktop",
                {{kKeyPictureKind, "1"}, {kKeyPictureFile, "C:\\Pictures\\gone.jpg"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"PictureKindWithoutPathFallsBackToDesktop",
                {{kKeyPictureKind, "1"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"DesktopKindStillKeepsAReadablePicture",
                {{kKeyPictureKind, "0"}, {kKeyPictureFile, "C:\\Pictures\\sky.jpg"}},
                {"C:\\Pictures\\sky.jpg"},
                Fresh(),
                Expect(0, "C:\\Pictures\\sky.jpg", "C:\\Pictures", 0, 0, "", "C:\\Saver")},
        LoadRow{"PictureInDriveRootHasFolderWithoutBackslash",
                {{kKeyPictureKind, "1"}, {kKeyPictureFile, "C:\\sky.bmp"}},
                {"C:\\sky.bmp"},
                Fresh(),
                Expect(1, "C:\\sky.bmp", "C:", 0, 0, "", "C:\\Saver")},
        LoadRow{"AudioCdNeedsNoFile", {{kKeyBgmKind, "1"}}, {}, Fresh(), Expect(0, "", "C:\\Saver", 1, 0, "", "C:\\Saver")},
        LoadRow{"AudioCdKeepsKindWhenSoundFileIsGone",
                {{kKeyBgmKind, "1"}, {kKeyBgmRepeatTrack, "3"}, {kKeyBgmFile, "C:\\Music\\gone.mp3"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 1, 3, "", "C:\\Saver")},
        LoadRow{"DeletedSoundFileFallsBackToNoMusic",
                {{kKeyBgmKind, "2"}, {kKeyBgmFile, "C:\\Music\\gone.mp3"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"SoundFileKindWithoutPathFallsBackToNoMusic",
                {{kKeyBgmKind, "2"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"UnreadableNumbersKeepPreviousValues",
                {{kKeyPictureKind, "abc"},
                 {kKeyPictureFile, "C:\\sky.bmp"},
                 {kKeyBgmKind, "1e0"},
                 {kKeyBgmRepeatTrack, "40000"}},
                {"C:\\sky.bmp"},
                Before(1, 1, 4),
                Expect(1, "C:\\sky.bmp", "C:", 1, 4, "", "C:\\Saver")},
        LoadRow{"UnreadableNumbersAtStartUpAreZero",
                {{kKeyPictureKind, "abc"}, {kKeyBgmKind, "two"}, {kKeyBgmRepeatTrack, "40000"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"MissingNumbersResetPreviousValues", {}, {}, Before(1, 1, 4),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"FractionsRoundedDown",
                {{kKeyPictureKind, "0.9"}, {kKeyBgmKind, " 1.9"}, {kKeyBgmRepeatTrack, "3.7"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 1, 3, "", "C:\\Saver")},
        // A kind nobody knows is passed on for the saver run to deal with.
        LoadRow{"UnknownKindsStayAsRead",
                {{kKeyPictureKind, "5"}, {kKeyBgmKind, "-3"}, {kKeyBgmRepeatTrack, "-1"}},
                {},
                Fresh(),
                Expect(5, "", "C:\\Saver", -3, -1, "", "C:\\Saver")}),
    testing_support::RowName());

// The same file loaded for the run, which drops a path whose file is
// missing, and for the dialog, which keeps it.
struct MissingRow {
  const char* name;
  std::vector<std::pair<const char*, const char*>> file;
  std::set<std::string> readable;
  Settings dropped;
  Settings kept;
};

class MissingFilesTest : public testing::TestWithParam<MissingRow> {};

TEST_P(MissingFilesTest, TheRunDropsAndTheDialogKeeps) {
  for (const MissingFiles missing : {MissingFiles::Drop, MissingFiles::Keep}) {
    SCOPED_TRACE(missing == MissingFiles::Drop ? "Drop" : "Keep");
    FakeProfile profile;
    for (const auto& [key, value] : GetParam().file) profile.values[{kSettingsSection, key}] = value;
    FakeFiles files;
    files.readable = GetParam().readable;
    Settings settings;

    LoadSettings(settings, profile, files, kProgramFolder, profile.path, NoLeadBytes, missing);

    ExpectSettings(settings, missing == MissingFiles::Drop ? GetParam().dropped : GetParam().kept);
    // A drive that is away can keep a look at it waiting; the dialog does not look.
    if (missing == MissingFiles::Keep) {
      EXPECT_EQ(files.asked, std::vector<std::string>());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MissingFilesTest,
    testing::Values(
        MissingRow{"MissingPicture",
                   {{kKeyPictureKind, "1"}, {kKeyPictureFile, "E:\\Pictures\\sky.jpg"}, {kKeyBgmKind, "1"}},
                   {},
                   Expect(0, "", "C:\\Saver", 1, 0, "", "C:\\Saver"),
                   Expect(1, "E:\\Pictures\\sky.jpg", "E:\\Pictures", 1, 0, "", "C:\\Saver")},
        MissingRow{"MissingSound",
                   {{kKeyBgmKind, "2"}, {kKeyBgmFile, "E:\\Music\\a.mp3"}},
                   {},
                   Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver"),
                   Expect(0, "", "C:\\Saver", 2, 0, "E:\\Music\\a.mp3", "E:\\Music")},
        MissingRow{"MissingSoundWhileTheCdPlays",
                   {{kKeyBgmKind, "1"}, {kKeyBgmRepeatTrack, "3"}, {kKeyBgmFile, "E:\\Music\\a.mp3"}},
                   {},
                   Expect(0, "", "C:\\Saver", 1, 3, "", "C:\\Saver"),
                   Expect(0, "", "C:\\Saver", 1, 3, "E:\\Music\\a.mp3", "E:\\Music")},
        MissingRow{"BothPresent",
                   {{kKeyPictureKind, "1"},
                    {kKeyPictureFile, "E:\\Pictures\\sky.jpg"},
                    {kKeyBgmKind, "2"},
                    {kKeyBgmFile, "E:\\Music\\a.mp3"}},
                   {"E:\\Pictures\\sky.jpg", "E:\\Music\\a.mp3"},
                   Expect(1, "E:\\Pictures\\sky.jpg", "E:\\Pictures", 2, 0, "E:\\Music\\a.mp3", "E:\\Music"),
                   Expect(1, "E:\\Pictures\\sky.jpg", "E:\\Pictures", 2, 0, "E:\\Music\\a.mp3", "E:\\Music")},
        // An empty path is no choice to keep.
        MissingRow{"EmptyPaths",
                   {{kKeyPictureKind, "1"}, {kKeyPictureFile, ""}, {kKeyBgmKind, "2"}, {kKeyBgmFile, ""}},
                   {},
                   Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver"),
                   Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")}),
    testing_support::RowName());

TEST(LoadSettingsTest, ReadsTheSettingsFileBesideTheProgram) {
  FakeProfile profile;
  profile.path = L"D:\\Tools\\Saver\\Ventalune.ini";
  profile.values[{kSettingsSection, kKeyBgmKind}] = "1";
  FakeFiles files;
  Settings settings;
  LoadSettings(settings, profile, files, "D:\\Tools\\Saver", IniPath(L"D:\\Tools\\Saver"), NoLeadBytes);
  EXPECT_EQ(settings.BgmKind, MusicKind::kAudioCd);
}

// ---- Path utilities -----------------------------------------------------

struct FolderRow {
  const char* name;
  const char* path;
  const char* folder;
};

class FolderOfTest : public testing::TestWithParam<FolderRow> {};

TEST_P(FolderOfTest, KeepsTheFolderWithoutTrailingBackslash) {
  EXPECT_EQ(FolderOf(GetParam().path, NoLeadBytes), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Paths, FolderOfTest,
                         testing::Values(FolderRow{"FileInFolder", "C:\\Music\\a.mp3", "C:\\Music"},
                                         FolderRow{"FileInDriveRoot", "C:\\a.mp3", "C:"},
                                         FolderRow{"BareFileName", "a.mp3", ""}, FolderRow{"Empty", "", ""},
                                         FolderRow{"DriveRelative", "C:a.mp3", "C:"},
                                         FolderRow{"DriveOnly", "D:", "D:"},
                                         FolderRow{"FolderWithTrailingBackslash", "C:\\Music\\", "C:\\Music"},
                                         FolderRow{"NetworkShare", "\\\\server\\share\\a.mp3", "\\\\server\\share"},
                                         FolderRow{"DeepFolder", "C:\\a\\b c\\d\\e.wav", "C:\\a\\b c\\d"}),
                         testing_support::RowName());

struct ExistsRow {
  const char* name;
  std::string path;
  bool exists;
  std::vector<std::string> asked;  // what the file system was asked about
};

class FileExistsTest : public testing::TestWithParam<ExistsRow> {};

TEST_P(FileExistsTest, AsksAboutThePathWithoutOneTrailingBackslash) {
  FakeFiles files;
  files.readable = {"C:\\a.txt"};
  EXPECT_EQ(FileExists(files, GetParam().path, NoLeadBytes), GetParam().exists);
  EXPECT_EQ(files.asked, GetParam().asked);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileExistsTest,
    testing::Values(ExistsRow{"ReadableFile", "C:\\a.txt", true, {"C:\\a.txt"}},
                    ExistsRow{"TrailingBackslashDropped", "C:\\a.txt\\", true, {"C:\\a.txt"}},
                    ExistsRow{"OnlyOneBackslashDropped", "C:\\a.txt\\\\", false, {"C:\\a.txt\\"}},
                    ExistsRow{"MissingFile", "C:\\b.txt", false, {"C:\\b.txt"}},
                    ExistsRow{"EmptyPathNotAsked", "", false, {}},
                    ExistsRow{"LoneBackslashNotAsked", "\\", false, {}},
                    // The platform would stop reading at the NUL and look at C:\a.txt instead.
                    ExistsRow{"NulInsidePathNotAsked", std::string("C:\\a.txt\0.mp3", 13), false, {}}),
    testing_support::RowName());

// ---- One key ------------------------------------------------------------

struct ReadRow {
  const char* name;
  std::string stored;
  bool overrunBuffer;
  std::string value;
};

class ReadIniValueTest : public testing::TestWithParam<ReadRow> {};

TEST_P(ReadIniValueTest, GivesTheTextUpToTheFirstNulAndAtMost255Bytes) {
  FakeProfile profile;
  profile.overrunBuffer = GetParam().overrunBuffer;
  if (!GetParam().stored.empty()) profile.values[{kSettingsSection, kKeyBgmFile}] = GetParam().stored;
  EXPECT_EQ(ReadIniValue(profile, kSettingsSection, kKeyBgmFile, profile.path), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadIniValueTest,
    testing::Values(ReadRow{"MissingKeyIsEmpty", "", false, ""}, ReadRow{"Value", "C:\\a.wav", false, "C:\\a.wav"},
                    ReadRow{"LongValueCut", std::string(300, 'x'), false, std::string(255, 'x')},
                    ReadRow{"OverrunBufferStillCut", std::string(300, 'x'), true, std::string(255, 'x')},
                    ReadRow{"TextAfterNulIgnored", std::string("C:\\a.wav\0junk", 13), true, "C:\\a.wav"}),
    testing_support::RowName());

TEST(WriteIniValueTest, OnlyThe128FirstBytesOfNamesTakeEffect) {
  FakeProfile profile;
  const std::string longSection(200, 's');
  const std::string longKey(129, 'k');
  WriteIniValue(profile, longSection, longKey, std::string(300, 'v'), profile.path);
  ASSERT_EQ(profile.writtenNames.size(), 1u);
  EXPECT_EQ(profile.writtenNames[0].first, std::string(128, 's'));
  EXPECT_EQ(profile.writtenNames[0].second, std::string(128, 'k'));
  EXPECT_EQ(profile.values[profile.writtenNames[0]], std::string(300, 'v'));
}

struct HeldFileRow {
  const char* name;
  int writesBeforeFailing;
  bool saved;
  size_t attempted;
};
class SaveWhileHeldTest : public testing::TestWithParam<HeldFileRow> {};

// A write that fails (the file held by another program) ends the save and
// says so, so the caller can try again or tell the user.
TEST_P(SaveWhileHeldTest, StopsAtTheFirstWriteThatFails) {
  FakeProfile profile;
  profile.writesBeforeFailing = GetParam().writesBeforeFailing;
  Settings choices;
  EXPECT_EQ(SaveSettings(choices, profile, profile.path), GetParam().saved);
  EXPECT_EQ(profile.writtenNames.size(), GetParam().attempted);
}
INSTANTIATE_TEST_SUITE_P(Saves, SaveWhileHeldTest,
                         testing::Values(HeldFileRow{"NeverHeld", -1, true, 5}, HeldFileRow{"HeldFromTheStart", 0, false, 1},
                                         HeldFileRow{"HeldAfterThreeKeys", 3, false, 4}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::settings

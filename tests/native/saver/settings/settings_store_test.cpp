#include "saver/settings/settings_store.h"
#include "saver/settings/settings_writes.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "row_name.h"
#include "saver/settings/settings_keys.h"

namespace ventalune::settings {
namespace {

constexpr char kProgramFolder[] = "C:\\Saver";
constexpr wchar_t kProgramFolderWide[] = L"C:\\Saver";

using Keys = std::map<std::pair<std::string, std::string>, std::string>;

// Settings files on a disk, answering as the profile functions do: the value
// cut to the buffer and NUL-padded, or the empty default for a missing key
// or file.
class FakeProfile final : public ProfilePort {
 public:
  std::wstring path = IniPath(kProgramFolderWide);
  std::map<std::wstring, Keys> disk;
  // The settings file's keys.
  Keys& values = disk[path];
  // Set to fill the whole buffer regardless of its size, as a careless
  // platform might.
  bool overrunBuffer = false;
  // Set when another program holds the file without sharing it.
  bool refusesReading = false;
  std::vector<std::pair<std::string, std::string>> writtenNames;
  size_t reads = 0;

  std::string ReadString(const std::string& section, const std::string& key, const std::wstring& filePath,
                         std::size_t capacity) override {
    ++reads;
    std::string value;
    if (const auto file = disk.find(filePath); file != disk.end()) {
      const auto found = file->second.find({section, key});
      if (found != file->second.end()) value = found->second;
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
    disk[filePath][{section, key}] = value;
    return true;
  }
  bool CanRead(const std::wstring&) override { return !refusesReading; }
  // How many writes succeed before the disk fails; -1: all.
  int writesBeforeFailing = -1;
};

// The copy beside the file and its replacement, on the fake profile's disk.
class FakeReplacement final : public FileReplacement {
 public:
  explicit FakeReplacement(FakeProfile& profile) : disk_(profile.disk) {}
  bool copyFails = false;
  bool replaceFails = false;

  std::optional<std::wstring> CopyBeside(const std::wstring& path) override {
    if (copyFails) return std::nullopt;
    const std::wstring copy = path + L".copy";
    if (const auto file = disk_.find(path); file != disk_.end()) disk_[copy] = file->second;
    return copy;
  }
  bool PutInPlace(const std::wstring& copy, const std::wstring& path) override {
    if (replaceFails) return false;
    disk_[path] = disk_[copy];
    disk_.erase(copy);
    return true;
  }
  void Discard(const std::wstring& copy) override { disk_.erase(copy); }

 private:
  std::map<std::wstring, Keys>& disk_;
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
                int16_t repeatTrack, const char* bgmFile, const char* bgmFolder, int16_t monitors = kMonitorsEvery) {
  return Settings{pictureKind, pictureFile, pictureFolder, static_cast<MusicKind>(bgmKind), repeatTrack, bgmFile,
                  bgmFolder, monitors};
}

Settings Fresh() { return Settings{}; }

Settings Before(int16_t pictureKind, int16_t bgmKind, int16_t repeatTrack, int16_t monitors = kMonitorsEvery) {
  Settings settings;
  settings.PictureKind = pictureKind;
  settings.BgmKind = static_cast<MusicKind>(bgmKind);
  settings.BgmRepeatTrack = repeatTrack;
  settings.Monitors = monitors;
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
  EXPECT_EQ(settings.Monitors, want.Monitors);
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
                 {kKeyBgmFile, "C:\\My Music\\a b.mp3"},
                 {kKeyMonitors, " 1"}},
                {"C:\\Pictures\\sky.jpg", "C:\\My Music\\a b.mp3"},
                Fresh(),
                Expect(1, "C:\\Pictures\\sky.jpg", "C:\\Pictures", 2, 0, "C:\\My Music\\a b.mp3", "C:\\My Music",
                       kMonitorsMainOnly)},
        LoadRow{"MainMonitorOnly", {{kKeyMonitors, "1"}}, {}, Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver", kMonitorsMainOnly)},
        // A file saved before there was a choice of monitors.
        LoadRow{"NoMonitorsKeyIsEveryMonitor",
                {{kKeyPictureKind, " 0"}, {kKeyBgmKind, " 1"}},
                {},
                Before(0, 0, 0, kMonitorsMainOnly),
                Expect(0, "", "C:\\Saver", 1, 0, "", "C:\\Saver", kMonitorsEvery)},
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
                 {kKeyBgmRepeatTrack, "40000"},
                 {kKeyMonitors, "main"}},
                {"C:\\sky.bmp"},
                Before(1, 1, 4, kMonitorsMainOnly),
                Expect(1, "C:\\sky.bmp", "C:", 1, 4, "", "C:\\Saver", kMonitorsMainOnly)},
        LoadRow{"UnreadableNumbersAtStartUpAreZero",
                {{kKeyPictureKind, "abc"}, {kKeyBgmKind, "two"}, {kKeyBgmRepeatTrack, "40000"}, {kKeyMonitors, "0x1"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"MissingNumbersResetPreviousValues", {}, {}, Before(1, 1, 4, kMonitorsMainOnly),
                Expect(0, "", "C:\\Saver", 0, 0, "", "C:\\Saver")},
        LoadRow{"FractionsRoundedDown",
                {{kKeyPictureKind, "0.9"}, {kKeyBgmKind, " 1.9"}, {kKeyBgmRepeatTrack, "3.7"}},
                {},
                Fresh(),
                Expect(0, "", "C:\\Saver", 1, 3, "", "C:\\Saver")},
        // A kind nobody knows is passed on for the saver run to deal with.
        LoadRow{"UnknownKindsStayAsRead",
                {{kKeyPictureKind, "5"}, {kKeyBgmKind, "-3"}, {kKeyBgmRepeatTrack, "-1"}, {kKeyMonitors, "2"}},
                {},
                Fresh(),
                Expect(5, "", "C:\\Saver", -3, -1, "", "C:\\Saver", 2)}),
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
  profile.disk[L"D:\\Tools\\Saver\\Ventalune.ini"][{kSettingsSection, kKeyBgmKind}] = "1";
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

// A save that fails at any step, or is killed between its writes, leaves
// the user's file exactly as it was: the writes go to a copy.
struct SaveRow {
  const char* name;
  bool fileExists;
  int writesBeforeFailing;
  bool copyFails;
  bool replaceFails;
  bool saved;
  size_t attempted;
};
class SaveWholeTest : public testing::TestWithParam<SaveRow> {};

TEST_P(SaveWholeTest, ReplacesTheFileOnlyWhenEveryWriteIsIn) {
  const SaveRow& row = GetParam();
  FakeProfile profile;
  FakeReplacement replacement(profile);
  Settings before;
  before.PictureKind = kPictureFile;
  before.PictureFile = "C:\\Pictures\\sky.jpg";
  before.BgmKind = MusicKind::kSoundFile;
  before.BgmRepeatTrack = 3;
  before.BgmFile = "C:\\Music\\a.mp3";
  before.Monitors = kMonitorsMainOnly;
  if (row.fileExists) {
    for (const auto& [key, value] : SettingsWrites(before)) profile.values[{kSettingsSection, key}] = value;
    // What others keep in the file goes with every save.
    profile.values[{"Other", "kept"}] = "1";
  } else {
    profile.disk.erase(profile.path);
  }
  const auto fileBefore = profile.disk;
  profile.writesBeforeFailing = row.writesBeforeFailing;
  replacement.copyFails = row.copyFails;
  replacement.replaceFails = row.replaceFails;

  EXPECT_EQ(SaveSettings(Settings{}, profile, replacement, profile.path), row.saved);

  EXPECT_EQ(profile.writtenNames.size(), row.attempted);
  if (!row.saved) {
    EXPECT_EQ(profile.disk, fileBefore) << "the file as it was, and no copy left behind";
    return;
  }
  ASSERT_EQ(profile.disk.size(), 1u) << "no copy left behind";
  Keys want;
  for (const auto& [key, value] : SettingsWrites(Settings{})) want[{kSettingsSection, key}] = value;
  if (row.fileExists) want[{"Other", "kept"}] = "1";
  EXPECT_EQ(profile.disk.at(profile.path), want);
}
INSTANTIATE_TEST_SUITE_P(
    Saves, SaveWholeTest,
    testing::Values(SaveRow{"AllSixIn", true, -1, false, false, true, 6},
                    SaveRow{"FirstSave", false, -1, false, false, true, 6},
                    SaveRow{"FirstWriteFails", true, 0, false, false, false, 1},
                    SaveRow{"ThirdOfSixFails", true, 2, false, false, false, 3},
                    SaveRow{"ThirdOfSixFailsOnTheFirstSave", false, 2, false, false, false, 3},
                    SaveRow{"LastOfSixFails", true, 5, false, false, false, 6},
                    SaveRow{"FileHeldSoNoCopy", true, -1, true, false, false, 0},
                    SaveRow{"ReplacementRefused", true, -1, false, true, false, 6}),
    testing_support::RowName());

// A file another program holds without sharing reads as empty through the
// profile functions; loading it would put defaults where the user's
// choices are, for the next save to write over them.
TEST(LoadSettingsRefused, LeavesTheRecordAndSaysSo) {
  FakeProfile profile;
  profile.values[{kSettingsSection, kKeyBgmKind}] = "1";
  profile.refusesReading = true;
  FakeFiles files;
  Settings settings = Before(1, 2, 4);

  EXPECT_FALSE(LoadSettings(settings, profile, files, kProgramFolder, profile.path, NoLeadBytes));

  EXPECT_EQ(profile.reads, 0u);
  ExpectSettings(settings, Before(1, 2, 4));
}

}  // namespace
}  // namespace ventalune::settings

// Paths in a code page with two-byte characters: the Shift-JIS rule against
// the single-byte one, on names whose trail byte is the backslash's code.
#include "saver/settings/path_text.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "code_page_932.h"
#include "row_name.h"
#include "saver/settings/settings_keys.h"
#include "saver/settings/settings_store.h"

namespace ventalune::settings {
namespace {

using testing_support::ExactText;
using testing_support::ShiftJisLeadByte;
using testing_support::ToCodePage932;

// Code page 932: lead bytes 0x81–0x9F and 0xE0–0xFC.
enum class Rule { kShiftJis, kSingleByte };

LeadByteRule RuleOf(Rule rule) { return rule == Rule::kShiftJis ? ShiftJisLeadByte : NoLeadBytes; }

// ソ is 0x83 0x5C, 表 0x95 0x5C, 能 0x94 0x5C in code page 932.
const std::string kSo = ToCodePage932("ソ");
const std::string kMusicFile = ToCodePage932("C:\\Music\\ソナタ.mp3");
const std::string kEndsInHyo = ToCodePage932("C:\\ソナタ\\表");
const std::string kFolderHyo = ToCodePage932("C:\\表\\a.jpg");
const std::string kFolderNoTrailing = ToCodePage932("C:\\能\\");
// Damaged: the name breaks off after the lead byte of ソ.
const std::string kCutAfterLead = std::string("C:\\Music\\\x83", 10);

TEST(CodePage932Bytes, TrailBytesAreBackslashes) {
  EXPECT_EQ(kSo, "\x83\x5c");
  EXPECT_EQ(ToCodePage932("表"), "\x95\x5c");
  EXPECT_EQ(ToCodePage932("能"), "\x94\x5c");
}

struct FolderRow {
  const char* name;
  Rule rule;
  std::string path;
  std::string folder;
};

class FolderOfByCharactersTest : public testing::TestWithParam<FolderRow> {};

TEST_P(FolderOfByCharactersTest, CutsAtTheLastSeparatorCharacter) {
  const ExactText path(GetParam().path);
  EXPECT_EQ(FolderOf(path.view(), RuleOf(GetParam().rule)), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, FolderOfByCharactersTest,
    testing::Values(
        FolderRow{"ShiftJisNameWithTrailBackslash", Rule::kShiftJis, kMusicFile, "C:\\Music"},
        // Read byte by byte, the trail of ソ is a separator: a lone lead byte is left.
        FolderRow{"SingleByteSplitsTheSameBytes", Rule::kSingleByte, kMusicFile, "C:\\Music\\\x83"},
        FolderRow{"ShiftJisPathEndingInHyo", Rule::kShiftJis, kEndsInHyo, ToCodePage932("C:\\ソナタ")},
        FolderRow{"SingleBytePathEndingInHyo", Rule::kSingleByte, kEndsInHyo, ToCodePage932("C:\\ソナタ\\") + "\x95"},
        FolderRow{"ShiftJisFolderHyo", Rule::kShiftJis, kFolderHyo, ToCodePage932("C:\\表")},
        FolderRow{"ShiftJisFolderWithTrailingBackslash", Rule::kShiftJis, kFolderNoTrailing, ToCodePage932("C:\\能")},
        FolderRow{"ShiftJisCutAfterLeadByte", Rule::kShiftJis, kCutAfterLead, "C:\\Music"},
        FolderRow{"SingleByteCutAfterLeadByte", Rule::kSingleByte, kCutAfterLead, "C:\\Music"},
        FolderRow{"ShiftJisLoneLeadByte", Rule::kShiftJis, "\x83", ""},
        FolderRow{"ShiftJisAsciiUnchanged", Rule::kShiftJis, "C:\\a\\b.mp3", "C:\\a"}),
    testing_support::RowName());

struct ExistsRow {
  const char* name;
  Rule rule;
  std::string path;
  std::vector<std::string> asked;  // what the file system was asked about
};

class Port final : public FilePort {
 public:
  std::vector<std::string> asked;
  bool CanOpenForReading(const std::string& path) override {
    asked.push_back(path);
    return true;
  }
  bool CanOpenForReading(const std::wstring&) override { return false; }
};

class FileExistsByCharactersTest : public testing::TestWithParam<ExistsRow> {};

TEST_P(FileExistsByCharactersTest, DropsOnlyATrailingBackslashCharacter) {
  Port files;
  const ExactText path(GetParam().path);
  FileExists(files, path.view(), RuleOf(GetParam().rule));
  EXPECT_EQ(files.asked, GetParam().asked);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, FileExistsByCharactersTest,
    testing::Values(ExistsRow{"ShiftJisEndingInSo", Rule::kShiftJis, ToCodePage932("C:\\ソ"), {ToCodePage932("C:\\ソ")}},
                    ExistsRow{"SingleByteEndingInSo", Rule::kSingleByte, ToCodePage932("C:\\ソ"), {"C:\\\x83"}},
                    ExistsRow{"ShiftJisEndingInHyo", Rule::kShiftJis, kEndsInHyo, {kEndsInHyo}},
                    ExistsRow{"ShiftJisRealTrailingBackslash", Rule::kShiftJis, kFolderNoTrailing,
                              {ToCodePage932("C:\\能")}},
                    ExistsRow{"ShiftJisCutAfterLeadByte", Rule::kShiftJis, kCutAfterLead, {kCutAfterLead}},
                    ExistsRow{"ShiftJisOnlyALeadByte", Rule::kShiftJis, "\x83", {"\x83"}}),
    testing_support::RowName());

// The picture and music of a Japanese user survive loading under the
// Shift-JIS rule, with their folders; read byte by byte, the trail bytes
// would have been dropped and the files reported missing.
TEST(LoadSettingsByCharactersTest, KeepsShiftJisPathsAndTheirFolders) {
  const std::string picture = ToCodePage932("C:\\ソナタ\\表");
  class Profile final : public ProfilePort {
   public:
    std::map<std::string, std::string> values;
    std::string ReadString(const std::string&, const std::string& key, const std::wstring&,
                           std::size_t capacity) override {
      std::string value = values.count(key) ? values[key] : "";
      value.resize(capacity, '\0');
      return value;
    }
    bool WriteString(const std::string&, const std::string&, const std::string&, const std::wstring&) override {
      return true;
    }
    bool CanRead(const std::wstring&) override { return true; }
  } profile;
  profile.values = {{kKeyPictureKind, "1"}, {kKeyPictureFile, picture}, {kKeyBgmKind, "2"}, {kKeyBgmFile, kMusicFile}};
  class Files final : public FilePort {
   public:
    std::set<std::string> readable;
    bool CanOpenForReading(const std::string& path) override { return readable.count(path) != 0; }
    bool CanOpenForReading(const std::wstring&) override { return false; }
  } files;
  files.readable = {picture, kMusicFile};

  Settings settings;
  LoadSettings(settings, profile, files, "C:\\Saver", IniPath(L"C:\\Saver"), ShiftJisLeadByte);
  EXPECT_EQ(settings.PictureKind, kPictureFile);
  EXPECT_EQ(settings.PictureFile, picture);
  EXPECT_EQ(settings.PictureFolder, ToCodePage932("C:\\ソナタ"));
  EXPECT_EQ(settings.BgmKind, MusicKind::kSoundFile);
  EXPECT_EQ(settings.BgmFile, kMusicFile);
  EXPECT_EQ(settings.BgmFolder, "C:\\Music");

  Settings bytewise;
  LoadSettings(bytewise, profile, files, "C:\\Saver", IniPath(L"C:\\Saver"), NoLeadBytes);
  EXPECT_EQ(bytewise.PictureKind, kPictureDesktop) << "the picture's trail byte was taken for a backslash";
  EXPECT_EQ(bytewise.PictureFile, "");
  EXPECT_EQ(bytewise.BgmKind, MusicKind::kSoundFile) << "the music name ends in ASCII";
}

}  // namespace
}  // namespace ventalune::settings

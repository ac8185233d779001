#include "saver/music/music_choice.h"

#include <gtest/gtest.h>

#include <string>

#include "code_page_932.h"
#include "row_name.h"

namespace ventalune::music {
namespace {

using settings::MusicKind;
using settings::NoLeadBytes;
using testing_support::ExactText;
using testing_support::ShiftJisLeadByte;
using testing_support::ToCodePage932;

struct MusicCase {
  const char* name;
  MusicKind kind;
  const char* file;
  MusicSource source;
};

class ChooseMusicTest : public testing::TestWithParam<MusicCase> {};

TEST_P(ChooseMusicTest, KindAndFileEndingChoose) {
  EXPECT_EQ(ChooseMusic(GetParam().kind, GetParam().file, NoLeadBytes), GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ChooseMusicTest,
    testing::Values(MusicCase{"NoMusic", MusicKind::kNone, "C:\\a.mp3", MusicSource::kNone},
                    MusicCase{"AudioCdIgnoresTheFile", MusicKind::kAudioCd, "", MusicSource::kAudioCd},
                    MusicCase{"Wav", MusicKind::kSoundFile, "C:\\Music\\tone.WAV", MusicSource::kWav},
                    MusicCase{"LowerCaseMp3", MusicKind::kSoundFile, "C:\\Music\\song.mp3", MusicSource::kMp3},
                    MusicCase{"MidiPlaysNothing", MusicKind::kSoundFile, "C:\\Music\\song.mid", MusicSource::kNone},
                    MusicCase{"EndingWithoutDot", MusicKind::kSoundFile, "C:\\Music\\slowwav", MusicSource::kWav},
                    MusicCase{"ShortName", MusicKind::kSoundFile, "av", MusicSource::kNone},
                    MusicCase{"EmptyFile", MusicKind::kSoundFile, "", MusicSource::kNone},
                    MusicCase{"UnknownKind", static_cast<MusicKind>(7), "a.mp3", MusicSource::kNone}),
    testing_support::RowName());

enum class Rule { kShiftJis, kSingleByte };

settings::LeadByteRule RuleOf(Rule rule) { return rule == Rule::kShiftJis ? ShiftJisLeadByte : NoLeadBytes; }

const std::string kMusicFile = ToCodePage932("C:\\Music\\ソナタ.mp3");

struct MusicRow {
  const char* name;
  Rule rule;
  std::string file;
  MusicSource source;
};

class ChooseMusicByCharactersTest : public testing::TestWithParam<MusicRow> {};

TEST_P(ChooseMusicByCharactersTest, EndingIsTheLastThreeCharacters) {
  const ExactText file(GetParam().file);
  EXPECT_EQ(ChooseMusic(MusicKind::kSoundFile, file.view(), RuleOf(GetParam().rule)), GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, ChooseMusicByCharactersTest,
    testing::Values(MusicRow{"ShiftJisMp3", Rule::kShiftJis, kMusicFile, MusicSource::kMp3},
                    MusicRow{"SingleByteMp3", Rule::kSingleByte, kMusicFile, MusicSource::kMp3},
                    // ギ is 0x83 'M': the name ends in ギ, P, 3.
                    MusicRow{"ShiftJisGiP3IsNoMp3", Rule::kShiftJis, ToCodePage932("C:\\ギP3"), MusicSource::kNone},
                    MusicRow{"SingleByteReadsGiP3AsMp3", Rule::kSingleByte, ToCodePage932("C:\\ギP3"),
                             MusicSource::kMp3},
                    // ジ is 0x83 'W'.
                    MusicRow{"ShiftJisJiAvIsNoWav", Rule::kShiftJis, ToCodePage932("C:\\ジAV"), MusicSource::kNone},
                    // ノ is 0x83 'm': its trail byte is not upper-cased into a letter.
                    MusicRow{"ShiftJisNop3IsNoMp3", Rule::kShiftJis, ToCodePage932("C:\\ノp3"), MusicSource::kNone},
                    MusicRow{"SingleByteNop3IsMp3", Rule::kSingleByte, ToCodePage932("C:\\ノp3"), MusicSource::kMp3},
                    MusicRow{"ShiftJisWavAfterKana", Rule::kShiftJis, ToCodePage932("C:\\ソナタwav"), MusicSource::kWav},
                    MusicRow{"ShiftJisCutAfterLeadByte", Rule::kShiftJis, "C:\\a.mp\x83", MusicSource::kNone},
                    MusicRow{"ShiftJisShortName", Rule::kShiftJis, ToCodePage932("ソ3"), MusicSource::kNone}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::music

#include "saver/toolkit/property_bag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::toolkit {
namespace {

PropertyBag EveryKind() {
  PropertyBag bag;
  bag.Write<bool>("Flag", false, true);
  bag.Write<uint8_t>("Byte", 200, 1);
  bag.Write<int16_t>("Short", -32768, 1);
  bag.Write<int32_t>("Long", 0x7FFFFFFF, 0);
  bag.Write<std::string>("Text", std::string("a\0b\xff", 4), "");
  bag.Write<FontDescription>("Font", {"\x82\x6c\x82\x72 \x82\x6f\x83\x53", 975, 128, 700, true, false, true}, {});
  bag.Write<ByteArray>("Array", {'G', 'I', 'F', 0, 0xff}, {});
  return bag;
}

TEST(PropertyBagTest, EveryKindSurvivesBytes) {
  const PropertyBag bag = EveryKind();
  const auto back = PropertyBag::Deserialise(bag.Serialise());
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, bag);
  EXPECT_EQ(back->Read<std::string>("Text", ""), std::string("a\0b\xff", 4));
  EXPECT_EQ(back->Read<int16_t>("Short", 0), -32768);
  EXPECT_EQ(back->Read<ByteArray>("Array", {}), (ByteArray{'G', 'I', 'F', 0, 0xff}));
  EXPECT_EQ(back->Keys(), (std::vector<std::string>{"Flag", "Byte", "Short", "Long", "Text", "Font", "Array"}));
}

TEST(PropertyBagTest, ValueEqualToItsWriteDefaultIsNotStored) {
  PropertyBag bag;
  bag.Write<std::string>("Caption", "Go", "Command");
  ASSERT_TRUE(bag.Contains("Caption"));
  // Writing the default later drops the earlier value as well.
  bag.Write<std::string>("Caption", "Command", "Command");
  EXPECT_FALSE(bag.Contains("Caption"));
  EXPECT_EQ(bag.Read<std::string>("Caption", "Command1"), "Command1");
}

struct ReadCase {
  std::string name;
  PropertyValue stored;
  int32_t asLong;    // Read<int32_t> with default 77
  int32_t asByte;    // Read<uint8_t> with default 77
  bool asFlag;       // Read<bool> with default false
};

class PropertyReadTest : public testing::TestWithParam<ReadCase> {};

// Whole numbers and Booleans stand for each other where the value fits;
// anything else reads as the default.
TEST_P(PropertyReadTest, ReadsAcrossKinds) {
  const ReadCase& row = GetParam();
  PropertyBag bag;
  std::visit([&bag](const auto& v) { bag.Write("Key", v, decltype(v){}); }, row.stored);
  EXPECT_EQ(bag.Read<int32_t>("Key", 77), row.asLong);
  EXPECT_EQ(bag.Read<uint8_t>("Key", 77), row.asByte);
  EXPECT_EQ(bag.Read<bool>("Key", false), row.asFlag);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PropertyReadTest,
                         testing::Values(ReadCase{"TrueIsMinusOne", PropertyValue(true), -1, 77, true},
                                         ReadCase{"ByteWidens", PropertyValue(uint8_t{9}), 9, 9, true},
                                         ReadCase{"ShortFitsAByte", PropertyValue(int16_t{255}), 255, 255, true},
                                         ReadCase{"ShortTooLargeForAByte", PropertyValue(int16_t{256}), 256, 77, true},
                                         ReadCase{"NegativeIsNoByte", PropertyValue(int16_t{-1}), -1, 77, true},
                                         ReadCase{"TextIsNoNumber", PropertyValue(std::string("12")), 77, 77, false}),
                         testing_support::RowName());

TEST(PropertyBagTest, AbsentKeyGivesTheReadDefault) {
  EXPECT_EQ(EveryKind().Read<int32_t>("Missing", 5), 5);
  EXPECT_EQ(EveryKind().Read<std::string>("Long", "x"), "x");
}

struct DamageCase {
  std::string name;
  std::vector<uint8_t> bytes;
};

class DamagedBagTest : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedBagTest, GivesNoBag) { EXPECT_FALSE(PropertyBag::Deserialise(GetParam().bytes)); }

std::vector<uint8_t> Header(uint16_t count) {
  return {'V', 'L', 'P', 'B', 1, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
}
std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DamagedBagTest,
    testing::Values(
        DamageCase{"Empty", {}},
        DamageCase{"WrongMagic", {'V', 'L', 'P', 'X', 1, 0, 0}},
        DamageCase{"UnknownVersion", {'V', 'L', 'P', 'B', 2, 0, 0}},
        // Claims one entry, holds none.
        DamageCase{"MissingEntry", Header(1)},
        DamageCase{"MoreEntriesThanTheCeiling", Header(257)},
        // Key "K", then a kind byte no value has.
        DamageCase{"UnknownKind", Join(Header(1), {1, 'K', 9})},
        // Key of length 0.
        DamageCase{"EmptyKey", Join(Header(1), {0, 0, 1})},
        // Boolean byte 2.
        DamageCase{"BooleanNeitherZeroNorOne", Join(Header(1), {1, 'K', 0, 2})},
        // Text claiming 4 GiB − 1 bytes.
        DamageCase{"TextLongerThanTheBag", Join(Header(1), {1, 'K', 4, 0xff, 0xff, 0xff, 0xff, 'a'})},
        // Text of 65537 bytes claimed, over the ceiling.
        DamageCase{"TextOverTheCeiling", Join(Header(1), {1, 'K', 4, 0x01, 0x00, 0x01, 0x00})},
        // A byte array claiming 3 bytes, holding 2.
        DamageCase{"ArrayLongerThanTheBag", Join(Header(1), {1, 'K', 6, 3, 0, 0, 0, 'G', 'I'})},
        // A byte array claiming 64 MiB + 1, over the ceiling.
        DamageCase{"ArrayOverTheCeiling", Join(Header(1), {1, 'K', 6, 0x01, 0x00, 0x00, 0x04})},
        // The same key twice.
        DamageCase{"RepeatedKey", Join(Header(2), {1, 'K', 1, 5, 1, 'K', 1, 6})},
        // A font whose style byte has an unknown bit.
        DamageCase{"FontStyleUnknownBit", Join(Header(1), {1, 'K', 5, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0x90, 1, 8})},
        DamageCase{"TrailingByte", Join(EveryKind().Serialise(), {0})},
        DamageCase{"CutShort", Cut(EveryKind().Serialise(), 1)}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::toolkit

// The EXIF orientation reader on JPEG heads built here byte by byte: the
// orientations it must find, and the damage that must read as "as stored".
#include "saver/pictures/exif_orientation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

using Bytes = std::vector<uint8_t>;
enum class Order { kLittle, kBig };

constexpr uint16_t kShort = 3, kLong = 4, kAscii = 2;

struct Entry {
  uint16_t tag, type;
  uint32_t count, value;
};
Entry Orient(uint32_t value, uint16_t type = kShort, uint32_t count = 1) { return {0x0112, type, count, value}; }
const Entry kMake{0x010f, kAscii, 6, 0x40};  // what a camera writes around it
const Entry kXResolution{0x011a, 5, 1, 0x50};

void Put16(Bytes& out, Order order, uint32_t value) {
  const auto high = static_cast<uint8_t>(value >> 8), low = static_cast<uint8_t>(value);
  if (order == Order::kBig) {
    out.insert(out.end(), {high, low});
  } else {
    out.insert(out.end(), {low, high});
  }
}
void Put32(Bytes& out, Order order, uint32_t value) {
  Put16(out, order, order == Order::kBig ? value >> 16 : value & 0xffff);
  Put16(out, order, order == Order::kBig ? value & 0xffff : value >> 16);
}

// A TIFF block with its first IFD right after the header, then no next IFD.
Bytes Tiff(Order order, const std::vector<Entry>& entries) {
  Bytes out = order == Order::kBig ? Bytes{'M', 'M', 0, 0x2a} : Bytes{'I', 'I', 0x2a, 0};
  Put32(out, order, 8);
  Put16(out, order, static_cast<uint32_t>(entries.size()));
  for (const Entry& entry : entries) {
    Put16(out, order, entry.tag);
    Put16(out, order, entry.type);
    Put32(out, order, entry.count);
    if (entry.type == kShort) {
      Put16(out, order, entry.value);
      Put16(out, order, 0);
    } else {
      Put32(out, order, entry.value);
    }
  }
  Put32(out, order, 0);
  return out;
}
Bytes Tiff(uint32_t orientation) { return Tiff(Order::kLittle, {kMake, Orient(orientation)}); }
// The same block with one field overwritten, little-endian.
Bytes Poked(Bytes tiff, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) tiff[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
  return tiff;
}

Bytes Segment(uint8_t marker, const Bytes& payload) {
  Bytes out = {0xff, marker, static_cast<uint8_t>((payload.size() + 2) >> 8), static_cast<uint8_t>(payload.size() + 2)};
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}
Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }
Bytes Exif(const Bytes& tiff, uint8_t marker = 0xe1) {
  Bytes payload = {'E', 'x', 'i', 'f', 0, 0};
  payload.insert(payload.end(), tiff.begin(), tiff.end());
  return Segment(marker, payload);
}
Bytes Jfif() { return Segment(0xe0, Bytes{'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0}); }
// One grey component.
const Bytes kScanHeader = Segment(0xda, {1, 1, 0, 0, 63, 0});
// The scan header and a few bytes of coded data.
Bytes Scan() {
  Bytes out = kScanHeader;
  out.insert(out.end(), {0x12, 0x34});
  return out;
}
const Bytes kStart = {0xff, 0xd8}, kEnd = {0xff, 0xd9};

Bytes Join(const std::vector<Bytes>& parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}
Bytes Jpeg(const std::vector<Bytes>& segments) { return Join({kStart, Join(segments), Scan(), kEnd}); }

struct ReadRow {
  std::string name;
  Bytes bytes;
  int want;
};

std::vector<ReadRow> Rows() {
  std::vector<ReadRow> rows;
  // Every value, in both byte orders, after a JFIF segment, the tag among others.
  for (const Order order : {Order::kLittle, Order::kBig})
    for (uint32_t value = 1; value <= 8; ++value)
      rows.push_back({(order == Order::kBig ? "BigEndian" : "LittleEndian") + std::to_string(value),
                      Jpeg({Jfif(), Exif(Tiff(order, {kMake, Orient(value), kXResolution}))}),
                      static_cast<int>(value)});
  const Bytes cutShort = [] {
    Bytes bytes = Join({kStart, Exif(Tiff(6))});
    bytes.pop_back();  // the next-IFD offset's last byte: the tag itself is all there
    return bytes;
  }();
  const std::vector<ReadRow> cases = {
      // Another APP1 first: XMP is stepped over, the EXIF after it read.
      {"XmpBeforeExif", Jpeg({Segment(0xe1, Text("http://ns.adobe.com/xap/1.0/")), Exif(Tiff(6))}), 6},
      // Fill bytes before the EXIF marker.
      {"FillBytesBeforeMarker", Join({kStart, {0xff, 0xff}, Exif(Tiff(6)), Scan(), kEnd}), 6},
      // A stray byte after the JFIF segment: the EXIF after it is the one a viewer reads.
      {"StrayByteBeforeExif", Join({kStart, Jfif(), {0x0a}, Exif(Tiff(6)), Scan(), kEnd}), 6},
      // No EXIF at all, only JFIF.
      {"NoExifSegment", Jpeg({Jfif()}), 1},
      // An IFD without the orientation tag.
      {"OrientationTagMissing", Jpeg({Exif(Tiff(Order::kBig, {kMake, kXResolution}))}), 1},
      // The EXIF comes right after the scan header, where a walk that went on would meet it.
      {"ExifAfterScan", Join({kStart, kScanHeader, Exif(Tiff(6)), kEnd}), 1},
      // The EXIF comes after the end of the image.
      {"ExifAfterEndOfImage", Join({kStart, kEnd, Exif(Tiff(6))}), 1},
      // An EXIF block in an APP2 segment, not APP1.
      {"ExifInAnotherSegment", Jpeg({Exif(Tiff(6), 0xe2)}), 1},
      // The first EXIF segment holds a bad value: a later good one does not count.
      {"FirstExifDecides", Jpeg({Exif(Tiff(9)), Exif(Tiff(6))}), 1},
      // The EXIF segment without the start-of-image marker before it.
      {"NoStartOfImage", Join({Exif(Tiff(6)), Scan(), kEnd}), 1},
      {"Empty", {}, 1},
      // A length of 1 cannot even cover itself; the EXIF after it is out of reach.
      {"SegmentLengthBelowTwo", Join({kStart, {0xff, 0xe0, 0, 1}, Exif(Tiff(6)), Scan(), kEnd}), 1},
      // A marker without a length (a restart marker) where a segment should start.
      {"MarkerWithoutLength", Join({kStart, {0xff, 0xd0}, Exif(Tiff(6)), Scan(), kEnd}), 1},
      // The EXIF segment's length runs past the end of the file.
      {"SegmentCutShort", cutShort, 1},
      // The segment ends inside the TIFF header.
      {"TiffHeaderCutShort", Jpeg({Segment(0xe1, Bytes{'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2a, 0})}), 1},
      // "Exif" without its two zero bytes before the TIFF header.
      {"ExifHeaderWithoutZeros", Jpeg({Segment(0xe1, Join({Text("Exif"), Tiff(6)}))}), 1},
      // Byte-order marks that mix the two, or the 64-bit variant's 43 after either.
      {"ByteOrderMixed", Jpeg({Exif(Poked(Tiff(6), 0, 'M', 1))}), 1},
      {"LittleEndianWrongMagic", Jpeg({Exif(Poked(Tiff(6), 2, 0x2b, 1))}), 1},
      {"BigEndianWrongMagic", Jpeg({Exif(Poked(Tiff(Order::kBig, {Orient(6)}), 3, 0x2b, 1))}), 1},
      // The IFD offset points just past the block, or at its last byte (no room for the count).
      {"IfdOffsetPastEnd", Jpeg({Exif(Poked(Tiff(6), 4, static_cast<uint32_t>(Tiff(6).size()), 4))}), 1},
      {"IfdOffsetAtLastByte", Jpeg({Exif(Poked(Tiff(6), 4, static_cast<uint32_t>(Tiff(6).size() - 1), 4))}), 1},
      // An offset that wraps round to 1 when 2 is added in 32 bits.
      {"IfdOffsetWrapsIn32Bits", Jpeg({Exif(Poked(Tiff(6), 4, 0xffffffff, 4))}), 1},
      // Three entries claimed, two written: the first two are there and hold the tag.
      {"EntryCountOverrunsSegment", Jpeg({Exif(Poked(Tiff(6), 8, 3, 2))}), 1},
      {"EntryCountLargest", Jpeg({Exif(Poked(Tiff(6), 8, 0xffff, 2))}), 1},
      // The orientation as a LONG, or with two values.
      {"WrongType", Jpeg({Exif(Tiff(Order::kLittle, {Orient(6, kLong)}))}), 1},
      {"CountTwo", Jpeg({Exif(Tiff(Order::kLittle, {Orient(6, kShort, 2)}))}), 1},
      // Values outside 1..8.
      {"ValueZero", Jpeg({Exif(Tiff(0))}), 1},
      {"ValueNine", Jpeg({Exif(Tiff(9))}), 1},
  };
  rows.insert(rows.end(), cases.begin(), cases.end());
  return rows;
}

class ExifOrientationTest : public testing::TestWithParam<ReadRow> {};

TEST_P(ExifOrientationTest, ReadsTheTagOrAsStored) {
  EXPECT_EQ(static_cast<int>(ReadExifOrientation(GetParam().bytes)), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Heads, ExifOrientationTest, testing::ValuesIn(Rows()), testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures

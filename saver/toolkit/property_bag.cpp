#include "saver/toolkit/property_bag.h"

#include <algorithm>
#include <array>

namespace ventalune::toolkit {
namespace {

// "VLPB", a version byte, then the entries.
constexpr std::array<uint8_t, 4> kMagic{'V', 'L', 'P', 'B'};
constexpr uint8_t kVersion = 1;
// The font's style flags; other bits mark a damaged bag.
constexpr uint8_t kItalic = 1, kUnderline = 2, kStrikeout = 4;

class Writer {
 public:
  void Byte(uint8_t value) { bytes_.push_back(value); }
  void Little(uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  void Text(const std::string& text) {
    Little(text.size(), 4);
    bytes_.insert(bytes_.end(), text.begin(), text.end());
  }
  void Bytes(const std::vector<uint8_t>& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool Byte(uint8_t& value) {
    if (left() < 1) return false;
    value = bytes_[at_++];
    return true;
  }
  bool Little(uint64_t& value, int count) {
    if (left() < static_cast<size_t>(count)) return false;
    value = 0;
    for (int i = 0; i < count; ++i) value |= uint64_t{bytes_[at_++]} << (8 * i);
    return true;
  }
  bool Chars(std::string& text, size_t count) {
    if (left() < count) return false;
    text.assign(reinterpret_cast<const char*>(bytes_.data() + at_), count);
    at_ += count;
    return true;
  }
  bool Array(ByteArray& array) {
    uint64_t length = 0;
    if (!Little(length, 4) || length > PropertyBag::kMaxArrayBytes || left() < length) return false;
    array.assign(bytes_.begin() + static_cast<ptrdiff_t>(at_), bytes_.begin() + static_cast<ptrdiff_t>(at_ + length));
    at_ += static_cast<size_t>(length);
    return true;
  }
  bool Text(std::string& text, size_t ceiling) {
    uint64_t length = 0;
    return Little(length, 4) && length <= ceiling && Chars(text, static_cast<size_t>(length));
  }
  size_t left() const { return bytes_.size() - at_; }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

void WriteValue(Writer& out, const PropertyValue& value) {
  out.Byte(static_cast<uint8_t>(value.index()));
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          out.Text(v);
        } else if constexpr (std::is_same_v<T, FontDescription>) {
          out.Text(v.face);
          out.Little(static_cast<uint32_t>(v.sizeHundredths), 4);
          out.Byte(v.charset);
          out.Little(static_cast<uint16_t>(v.weight), 2);
          out.Byte(static_cast<uint8_t>((v.italic ? kItalic : 0) | (v.underline ? kUnderline : 0) |
                                        (v.strikeout ? kStrikeout : 0)));
        } else if constexpr (std::is_same_v<T, ByteArray>) {
          out.Little(v.size(), 4);
          out.Bytes(v);
        } else if constexpr (std::is_same_v<T, bool>) {
          out.Byte(v ? 1 : 0);
        } else {
          out.Little(static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(v)), sizeof(T));
        }
      },
      value);
}

std::optional<PropertyValue> ReadValue(Reader& in) {
  uint8_t kind = 0;
  uint64_t number = 0;
  if (!in.Byte(kind)) return std::nullopt;
  switch (kind) {
    case 0:  // Boolean: one byte, 0 or 1
      if (!in.Little(number, 1) || number > 1) return std::nullopt;
      return PropertyValue(number == 1);
    case 1:
      if (!in.Little(number, 1)) return std::nullopt;
      return PropertyValue(static_cast<uint8_t>(number));
    case 2:
      if (!in.Little(number, 2)) return std::nullopt;
      return PropertyValue(static_cast<int16_t>(static_cast<uint16_t>(number)));
    case 3:
      if (!in.Little(number, 4)) return std::nullopt;
      return PropertyValue(static_cast<int32_t>(static_cast<uint32_t>(number)));
    case 4: {
      std::string text;
      if (!in.Text(text, PropertyBag::kMaxTextBytes)) return std::nullopt;
      return PropertyValue(std::move(text));
    }
    case 5: {
      FontDescription font;
      uint64_t size = 0, weight = 0;
      uint8_t flags = 0;
      if (!in.Text(font.face, PropertyBag::kMaxKeyBytes) || !in.Little(size, 4) || !in.Byte(font.charset) ||
          !in.Little(weight, 2) || !in.Byte(flags) || (flags & ~(kItalic | kUnderline | kStrikeout)) != 0)
        return std::nullopt;
      font.sizeHundredths = static_cast<int32_t>(static_cast<uint32_t>(size));
      font.weight = static_cast<int16_t>(static_cast<uint16_t>(weight));
      font.italic = (flags & kItalic) != 0;
      font.underline = (flags & kUnderline) != 0;
      font.strikeout = (flags & kStrikeout) != 0;
      return PropertyValue(std::move(font));
    }
    case 6: {
      ByteArray array;
      if (!in.Array(array)) return std::nullopt;
      return PropertyValue(std::move(array));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

const PropertyValue* PropertyBag::Find(std::string_view key) const {
  for (const auto& [name, value] : entries_)
    if (name == key) return &value;
  return nullptr;
}

void PropertyBag::Erase(std::string_view key) {
  std::erase_if(entries_, [key](const auto& entry) { return entry.first == key; });
}

bool PropertyBag::Store(std::string_view key, PropertyValue value) {
  if (key.empty() || key.size() > kMaxKeyBytes) return false;
  if (const auto* text = std::get_if<std::string>(&value); text && text->size() > kMaxTextBytes) return false;
  if (const auto* font = std::get_if<FontDescription>(&value); font && font->face.size() > kMaxKeyBytes) return false;
  if (const auto* array = std::get_if<ByteArray>(&value); array && array->size() > kMaxArrayBytes) return false;
  for (auto& [name, stored] : entries_)
    if (name == key) {
      stored = std::move(value);
      return true;
    }
  if (entries_.size() >= kMaxEntries) return false;
  entries_.emplace_back(std::string(key), std::move(value));
  return true;
}

std::optional<int64_t> PropertyBag::AsWholeNumber(const PropertyValue& value) {
  if (const bool* flag = std::get_if<bool>(&value)) return *flag ? -1 : 0;
  if (const uint8_t* byte = std::get_if<uint8_t>(&value)) return *byte;
  if (const int16_t* small = std::get_if<int16_t>(&value)) return *small;
  if (const int32_t* large = std::get_if<int32_t>(&value)) return *large;
  return std::nullopt;
}

std::vector<std::string> PropertyBag::Keys() const {
  std::vector<std::string> keys;
  for (const auto& entry : entries_) keys.push_back(entry.first);
  return keys;
}

std::vector<uint8_t> PropertyBag::Serialise() const {
  Writer out;
  for (uint8_t byte : kMagic) out.Byte(byte);
  out.Byte(kVersion);
  out.Little(entries_.size(), 2);
  for (const auto& [key, value] : entries_) {
    out.Byte(static_cast<uint8_t>(key.size()));
    for (char c : key) out.Byte(static_cast<uint8_t>(c));
    WriteValue(out, value);
  }
  return out.Take();
}

std::optional<PropertyBag> PropertyBag::Deserialise(std::span<const uint8_t> bytes) {
  Reader in(bytes);
  std::string magic;
  uint8_t version = 0;
  uint64_t count = 0;
  if (!in.Chars(magic, kMagic.size()) || !std::equal(magic.begin(), magic.end(), kMagic.begin()) ||
      !in.Byte(version) || version != kVersion || !in.Little(count, 2) || count > kMaxEntries)
    return std::nullopt;
  PropertyBag bag;
  for (uint64_t i = 0; i < count; ++i) {
    uint8_t keyLength = 0;
    std::string key;
    if (!in.Byte(keyLength) || keyLength == 0 || !in.Chars(key, keyLength) || bag.Contains(key)) return std::nullopt;
    std::optional<PropertyValue> value = ReadValue(in);
    if (!value || !bag.Store(key, std::move(*value))) return std::nullopt;
  }
  if (in.left() != 0) return std::nullopt;
  return bag;
}

}  // namespace ventalune::toolkit

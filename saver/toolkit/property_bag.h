#pragma once
// The persisted properties of a control: typed values under text keys, read
// with a default and written with a default, kept as bytes by the host.
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace ventalune::toolkit {

// A font as a property: face, size in hundredths of a point (9.75 pt is 975),
// character set and style.
struct FontDescription {
  std::string face;
  int32_t sizeHundredths = 900;
  uint8_t charset = 1;  // the platform's default character set
  int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool operator==(const FontDescription&) const = default;
};

// What the host tells its controls: run mode or design mode, and the font
// controls take when they have none of their own.
struct AmbientProperties {
  bool userMode = true;
  FontDescription font{"MS Sans Serif", 825, 1, 400};
  // The resolution of the monitor the container is on; 0: the screen's.
  int dpi = 0;
};

// Raw bytes as a property: a file a control keeps (its GIF, a cursor).
using ByteArray = std::vector<uint8_t>;

using PropertyValue = std::variant<bool, uint8_t, int16_t, int32_t, std::string, FontDescription, ByteArray>;

class PropertyBag {
 public:
  // Ceilings that keep a damaged or hostile bag small.
  static constexpr size_t kMaxEntries = 256;
  static constexpr size_t kMaxKeyBytes = 255;
  static constexpr size_t kMaxTextBytes = 65536;
  // As large as the biggest GIF the animated-picture control loads.
  static constexpr size_t kMaxArrayBytes = size_t{64} << 20;

  // The stored value, or `readDefault` when the key is absent or its value
  // cannot stand for a T (another kind, or a number out of T's range).
  // Whole numbers and Booleans read as each other where the value fits;
  // True is −1, as the platform's 16-bit Booleans hold it.
  template <class T>
  T Read(std::string_view key, const T& readDefault) const {
    static_assert(std::is_constructible_v<PropertyValue, T>);
    const PropertyValue* stored = Find(key);
    if (!stored) return readDefault;
    if (const T* same = std::get_if<T>(stored)) return *same;
    if constexpr (std::is_integral_v<T>) {
      if (const std::optional<int64_t> number = AsWholeNumber(*stored)) {
        if constexpr (std::is_same_v<T, bool>) return *number != 0;
        if (*number >= static_cast<int64_t>(std::numeric_limits<T>::min()) &&
            *number <= static_cast<int64_t>(std::numeric_limits<T>::max()))
          return static_cast<T>(*number);
      }
    }
    return readDefault;
  }

  // Stores the value, unless it equals `writeDefault`: then the key is left
  // out (and a value stored before under it is dropped), so reading gives
  // the read default. Keys beyond the ceilings are not stored.
  template <class T>
  void Write(std::string_view key, const T& value, const T& writeDefault) {
    static_assert(std::is_constructible_v<PropertyValue, T>);
    if (value == writeDefault) {
      Erase(key);
      return;
    }
    Store(key, PropertyValue(std::in_place_type<T>, value));
  }

  bool Contains(std::string_view key) const { return Find(key) != nullptr; }
  size_t size() const { return entries_.size(); }
  // Keys in the order they were first written.
  std::vector<std::string> Keys() const;

  // The bag as bytes, and back. Bytes that are damaged in any way (cut
  // short, trailing bytes, unknown kinds, repeated keys, sizes beyond the
  // ceilings) give no bag at all.
  std::vector<uint8_t> Serialise() const;
  static std::optional<PropertyBag> Deserialise(std::span<const uint8_t> bytes);

  bool operator==(const PropertyBag&) const = default;

 private:
  const PropertyValue* Find(std::string_view key) const;
  void Erase(std::string_view key);
  bool Store(std::string_view key, PropertyValue value);
  static std::optional<int64_t> AsWholeNumber(const PropertyValue& value);

  std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace ventalune::toolkit

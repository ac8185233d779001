#pragma once
// Shift-JIS (code page 932) bytes of UTF-8 text, through the C library's own
// converter, so tests can check byte constants against their Japanese names;
// the code page's lead bytes; and text held so that reading past it shows.
#include <iconv.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ventalune::testing_support {

inline std::string ToCodePage932(std::string_view utf8) {
  const iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string input(utf8);
  std::string output(input.size() * 2 + 1, '\0');
  char* in = input.data();
  char* out = output.data();
  size_t inLeft = input.size();
  size_t outLeft = output.size();
  const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) throw std::runtime_error("text not in CP932");
  output.resize(output.size() - outLeft);
  return output;
}

inline bool ShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
}

// The text in a heap block of exactly its size, so AddressSanitizer reports
// any read beyond the last byte.
class ExactText {
 public:
  explicit ExactText(const std::string& text) : bytes_(new char[text.size()]), size_(text.size()) {
    std::copy(text.begin(), text.end(), bytes_.get());
  }
  std::string_view view() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};

}  // namespace ventalune::testing_support

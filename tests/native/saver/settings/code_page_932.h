#pragma once
// Shift-JIS (code page 932) bytes of UTF-8 text, through the C library's own
// converter, so tests can check byte constants against their Japanese names.
#include <iconv.h>

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

}  // namespace ventalune::testing_support

#pragma once
// What the screen-saver host asks for, read from the argument text it passes
// after the program name: "/p 1234" (preview inside window 1234), "/c"
// (settings), "/s" (run), or nothing (settings: Explorer's Configure starts
// a screen saver without an argument).
#include <cstdint>
#include <string_view>

namespace ventalune::launcher {

enum class LaunchMode {
  kPreview,   // "P": a still picture inside the host's preview area
  kSettings,  // "C", or empty argument text: the settings dialog
  kRun,       // "S": the saver run, cursor hidden
  kNone,      // anything else: end at once
};

// Only the second character counts, upper-cased; the first (normally a
// slash) and the third (a space or a colon) are not examined.
LaunchMode ModeOf(std::string_view arguments);

// The preview host's window handle: the leading decimal number from the
// fourth character on (blanks skipped, the rest ignored), rounded to a whole
// number. 0 when there is none or it does not fit in 32 signed bits.
int32_t PreviewHostHandle(std::string_view arguments);

}  // namespace ventalune::launcher

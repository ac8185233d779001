#pragma once
// Paths as the ANSI file functions read them: text in the system's code
// page, where a lead byte and the byte after it make one character. In
// Shift-JIS the second byte of ソ, 表 or 能 is 0x5C, the code of the
// backslash, so a path has to be read character by character: looking at
// bytes alone splits those characters and finds separators that are not
// there.
#include <cstddef>
#include <string>
#include <string_view>

namespace ventalune::settings {

// Whether a byte starts a two-byte character in the code page the paths are
// written in. On Windows this is the system's ANSI code page.
using LeadByteRule = bool (*)(unsigned char byte);

// A code page of single-byte characters only (1252 and its kind).
bool NoLeadBytes(unsigned char byte);

// The byte offset of the last character of `text` that is one of the
// single-byte characters in `set`; npos when there is none. A trail byte
// never counts, however it looks.
std::size_t FindLastCharacterOf(std::string_view text, std::string_view set, LeadByteRule isLead);

// Whether the last character of `text` is the single-byte character `c`.
bool EndsWithCharacter(std::string_view text, char c, LeadByteRule isLead);

// The last `count` characters of `text` (all of it when it is shorter).
// A lead byte at the very end, with nothing after it, is a character of its
// own: nothing is read beyond the text.
std::string_view LastCharacters(std::string_view text, std::size_t count, LeadByteRule isLead);

}  // namespace ventalune::settings

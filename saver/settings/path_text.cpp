#include "saver/settings/path_text.h"

namespace ventalune::settings {
namespace {

// Bytes in the character that starts at `at`: two for a lead byte with a
// byte after it, one otherwise.
std::size_t CharacterLength(std::string_view text, std::size_t at, LeadByteRule isLead) {
  return isLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

}  // namespace

bool NoLeadBytes(unsigned char) { return false; }

std::size_t FindLastCharacterOf(std::string_view text, std::string_view set, LeadByteRule isLead) {
  // Shift-JIS cannot be read backwards (a trail byte may look like a lead
  // byte), so the walk starts at the front.
  std::size_t found = std::string_view::npos;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at, isLead);
    if (length == 1 && set.find(text[at]) != std::string_view::npos) found = at;
    at += length;
  }
  return found;
}

bool EndsWithCharacter(std::string_view text, char c, LeadByteRule isLead) {
  if (text.empty() || text.back() != c) return false;
  std::size_t at = 0;
  while (at + 1 < text.size()) at += CharacterLength(text, at, isLead);
  // The walk stops on the last byte only when a character starts there.
  return at == text.size() - 1;
}

std::string_view LastCharacters(std::string_view text, std::size_t count, LeadByteRule isLead) {
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at, isLead)) ++characters;
  if (characters <= count) return text;
  std::size_t at = 0;
  for (std::size_t skip = characters - count; skip > 0; --skip) at += CharacterLength(text, at, isLead);
  return text.substr(at);
}

}  // namespace ventalune::settings

#include "scan/character_references.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "util/text_encoding.h"
#include "util/transliteration.h"

namespace tagwright {

namespace {

struct NamedEntity {
  std::string_view name;
  char32_t code;
};

#include "scan/entity_table.inc"

constexpr std::size_t kLongestName = 32;
// The longest of the names that HTML also reads without a ";".
constexpr std::size_t kLongestBareName = [] {
  std::size_t longest = 0;
  for (const NamedEntity& e : kEntities) {
    if (!e.name.ends_with(';')) longest = std::max(longest, e.name.size());
  }
  return longest;
}();
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

const NamedEntity* FindEntity(std::string_view name) {
  // A page refers to a few names many times ("&lt;", "&amp;"): one hash and one comparison
  // each, rather than a dozen comparisons of a search through the sorted table.
  static const std::unordered_map<std::string_view, const NamedEntity*> byName = [] {
    std::unordered_map<std::string_view, const NamedEntity*> map;
    map.reserve(kEntityCount);
    for (const NamedEntity& e : kEntities) map.emplace(e.name, &e);
    return map;
  }();
  const auto hit = byName.find(name);
  return hit == byName.end() ? nullptr : hit->second;
}

// What a reference to `code` leaves in the line. `letter` holds a one-letter result.
std::string_view SpellingOf(char32_t code, char& letter) {
  if (code < 0x80) {
    if ((code | 0x20) >= 'a' && (code | 0x20) <= 'z') {
      letter = static_cast<char>(code | 0x20);
      return {&letter, 1};
    }
    return " ";
  }
  const std::string_view spelled = TransliterateLetter(code);
  return spelled.empty() ? std::string_view(" ") : spelled;
}

// The reference at `at` (an "&"): its length and code point; 0 when none stands there.
std::size_t ReferenceAt(std::string_view text, std::size_t at, char32_t& code) {
  std::size_t i = at + 1;
  if (i < text.size() && text[i] == '#') {
    ++i;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex) ++i;
    const std::size_t digits = i;
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      std::uint32_t digit;
      if (c >= '0' && c <= '9') {
        digit = static_cast<std::uint32_t>(c - '0');
      } else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f') {
        digit = static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
      } else {
        break;
      }
      value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (i == digits) return 0;
    if (i < text.size() && text[i] == ';') ++i;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      code = kReplacementCharacter;
    } else if (value >= 0x80 && value <= 0x9F) {
      code = Windows1252CodePoint(static_cast<unsigned char>(value));  // as browsers read them
    } else {
      code = value;
    }
    return i - at;
  }
  std::size_t end = i;
  while (end < text.size() && end - i < kLongestName && IsAsciiAlnum(text[end])) ++end;
  if (end == i) return 0;
  if (end < text.size() && text[end] == ';') {
    if (const NamedEntity* e = FindEntity(text.substr(i, end + 1 - i))) {
      code = e->code;
      return end + 1 - at;
    }
  }
  // The names that HTML also reads without a ";", longest first.
  for (std::size_t length = std::min(end - i, kLongestBareName); length >= 2; --length) {
    if (const NamedEntity* e = FindEntity(text.substr(i, length))) {
      code = e->code;
      return length + 1;
    }
  }
  return 0;
}

}  // namespace

void DecodeCharacterReferences(std::string& line) {
  char* const data = line.data();
  const std::string_view text = line;
  std::size_t copied = 0;   // text before this is read and rewritten
  std::size_t written = 0;  // the rewritten text ends here
  for (std::size_t i = text.find('&'); i != std::string_view::npos; i = text.find('&', i)) {
    char32_t code = 0;
    const std::size_t length = ReferenceAt(text, i, code);
    if (length == 0) {
      ++i;
      continue;
    }
    char letter = 0;
    std::string_view spelled = SpellingOf(code, letter);
    // Every reference takes three characters or more and leaves two at most.
    if (spelled.size() > length) spelled = " ";
    if (written != copied) std::memmove(data + written, data + copied, i - copied);
    written += i - copied;
    std::memcpy(data + written, spelled.data(), spelled.size());
    written += spelled.size();
    copied = i = i + length;
  }
  if (written == copied) return;
  std::memmove(data + written, data + copied, text.size() - copied);
  line.resize(written + text.size() - copied);
}

}  // namespace tagwright

#include "scan/markup_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>
#include <string_view>

#include "util/text_encoding.h"

namespace tagwright {

namespace {

struct Replacement {
  std::string_view sought;
  std::string_view replacement;
};

using namespace std::string_view_literals;

// In the order they are applied. Rows up to kFirstLetterEntity never interact: their outputs
// (a blank, a quotation mark, a marker) cannot be part of any sought text.
constexpr std::array<Replacement, 51> kReplacements{{
    {"&nbsp;", " "},      {"&#160;", " "},      {"&quot;", "\""},    {"&laquo;", "\""},
    {"&raquo;", "\""},    {"<b>", "\x0b"},      {"</b>", "\x0c"},    {"<title>", "\x0e"},
    {"</title>", "\x0f"}, {"<h1>", "\x06"},     {"</h1>", "\x07"},   {"<h2>", "\x05"},
    {"</h2>", "\x07"},    {"<h3>", "\x04"},     {"</h3>", "\x07"},   {"<h4>", "\x03"},
    {"</h4>", "\x07"},    {"<h5>", "\x02"},     {"</h5>", "\x07"},   {"<h6>", "\x01"},
    {"</h6>", "\x07"},    {"&auml;", "ae"},     {"&ouml;", "oe"},    {"&uuml;", "ue"},
    {"&szlig;", "ss"},    {"&agrave;", "a"},    {"&aacute;", "a"},   {"&acirc;", "a"},
    {"&atilde;", "a"},    {"&aring;", "a"},     {"&aelig;", "ae"},   {"&ccedil;", "c"},
    {"&egrave;", "e"},    {"&eacute;", "e"},    {"&ecirc;", "e"},    {"&euml;", "e"},
    {"&igrave;", "i"},    {"&iacute;", "i"},    {"&icirc;", "i"},    {"&iuml;", "i"},
    {"&eth;", "d"},       {"&ntilde;", "n"},    {"&ograve;", "o"},   {"&oacute;", "o"},
    {"&ocirc;", "o"},     {"&otilde;", "o"},    {"&ugrave;", "u"},   {"&uacute;", "u"},
    {"&ucirc;", "u"},     {"&yacute;", "y"},    {"&yuml;", "y"},
}};
constexpr std::size_t kFirstLetterEntity = 21;

// For each character that may follow the "&" or "<" of a sought text, the rows whose sought
// text begins with those two characters, in table order.
struct Candidates {
  std::array<std::array<std::vector<std::uint8_t>, 256>, 2> rows;
  Candidates() {
    for (std::size_t row = 0; row < kReplacements.size(); ++row) {
      const std::string_view sought = kReplacements[row].sought;
      rows[sought[0] == '<'][static_cast<unsigned char>(sought[1])].push_back(
          static_cast<std::uint8_t>(row));
    }
  }
};

// Replaces every occurrence of the rows [first, last) in one pass. Exact when no sought text
// can be formed with an earlier row's output.
void ReplaceInOnePass(std::string& line, std::size_t first, std::size_t last) {
  static const Candidates candidates;
  std::string out;
  const std::string_view text = line;
  std::size_t copied = 0;  // text before this is in `out`
  // The next "&" and the next "<" at or after the position, found with memchr.
  auto next = [&text](char c, std::size_t from) {
    const void* hit = from < text.size() ? std::memchr(text.data() + from, c, text.size() - from)
                                         : nullptr;
    return hit == nullptr ? text.size() : static_cast<const char*>(hit) - text.data();
  };
  std::size_t ampersand = next('&', 0);
  std::size_t bracket = next('<', 0);
  for (std::size_t i = std::min(ampersand, bracket); i + 1 < text.size();
       i = std::min(ampersand, bracket)) {
    const auto& rows = candidates.rows[text[i] == '<'][static_cast<unsigned char>(text[i + 1])];
    for (std::uint8_t row : rows) {
      if (row < first || row >= last) continue;
      const auto& r = kReplacements[row];
      // Most brackets open other tags: the third character rules them out cheaply.
      if (i + 2 >= text.size() || text[i + 2] != r.sought[2] ||
          !text.substr(i).starts_with(r.sought)) {
        continue;
      }
      if (copied == 0) out.reserve(text.size());
      out.append(text.substr(copied, i - copied));
      out.append(r.replacement);
      copied = i + r.sought.size();
      break;
    }
    const std::size_t from = std::max(copied, i + 1);
    if (ampersand < from) ampersand = next('&', from);
    if (bracket < from) bracket = next('<', from);
  }
  if (copied == 0) return;  // nothing replaced: the line stays as it is
  out.append(text.substr(copied));
  line = std::move(out);
}

void ReplaceAll(std::string& line, const Replacement& r) {
  std::size_t at = line.find(r.sought);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(line.size());
  std::size_t from = 0;
  while (at != std::string::npos) {
    out.append(line, from, at - from);
    out.append(r.replacement);
    from = at + r.sought.size();
    at = line.find(r.sought, from);
  }
  out.append(line, from, std::string::npos);
  line = std::move(out);
}

// An entity's replacement letters can complete an entity that began earlier ("&" followed by
// an entity and the rest of another entity's name) only when an "&" is followed by another
// "&" with no ";" between them.
bool EntitiesMayCascade(std::string_view line) {
  bool open = false;
  for (char c : line) {
    if (c == ';') {
      open = false;
    } else if (c == '&') {
      if (open) return true;
      open = true;
    }
  }
  return false;
}

// The transliteration of the letters that the entity table knows, by code point U+00C0 to
// U+00FF; empty where the letter has none.
constexpr std::array<std::string_view, 64> BuildLatin1Table() {
  std::array<std::string_view, 64> table{};
  struct Letter {
    unsigned code;
    std::string_view text;
  };
  constexpr Letter lower[] = {
      {0xE4, "ae"}, {0xF6, "oe"}, {0xFC, "ue"}, {0xDF, "ss"}, {0xE0, "a"}, {0xE1, "a"},
      {0xE2, "a"},  {0xE3, "a"},  {0xE5, "a"},  {0xE6, "ae"}, {0xE7, "c"}, {0xE8, "e"},
      {0xE9, "e"},  {0xEA, "e"},  {0xEB, "e"},  {0xEC, "i"},  {0xED, "i"}, {0xEE, "i"},
      {0xEF, "i"},  {0xF0, "d"},  {0xF1, "n"},  {0xF2, "o"},  {0xF3, "o"}, {0xF4, "o"},
      {0xF5, "o"},  {0xF9, "u"},  {0xFA, "u"},  {0xFB, "u"},  {0xFD, "y"}, {0xFF, "y"}};
  for (const auto& l : lower) {
    table[l.code - 0xC0] = l.text;
    // The capital of each letter lies 0x20 below it; the sharp s and y with diaeresis have
    // none in this range.
    if (l.code != 0xDF && l.code != 0xFF) table[l.code - 0x20 - 0xC0] = l.text;
  }
  return table;
}
constexpr auto kLatin1 = BuildLatin1Table();
constexpr std::string_view kCapitalYDiaeresis = "y";  // U+0178, 0x9F in Windows-1252

// The transliteration of the UTF-8 letter at `i`, or empty when none stands there.
std::string_view Utf8LetterAt(std::string_view line, std::size_t i) {
  if (i + 1 >= line.size()) return {};
  const auto c = static_cast<unsigned char>(line[i]);
  const auto next = static_cast<unsigned char>(line[i + 1]);
  if (c == 0xC3 && next >= 0x80 && next <= 0xBF) return kLatin1[next - 0x80];
  if (c == 0xC5 && next == 0xB8) return kCapitalYDiaeresis;
  return {};
}

void TransliterateUtf8(std::string& line) {
  std::string out;
  std::size_t copied = 0;  // bytes before this are in `out`
  for (std::size_t i = 0; i + 1 < line.size(); ++i) {
    const std::string_view letter = Utf8LetterAt(line, i);
    if (letter.empty()) continue;
    out.append(line, copied, i - copied);
    out.append(letter);
    copied = i + 2;
    ++i;
  }
  if (copied == 0) return;  // no such letter: the line stays as it is
  out.append(line, copied, std::string::npos);
  line = std::move(out);
}

void TransliterateWindows1252(std::string& line) {
  std::string out;
  out.reserve(line.size());
  for (char ch : line) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0xC0 && !kLatin1[c - 0xC0].empty()) {
      out.append(kLatin1[c - 0xC0]);
    } else if (c == 0x9F) {
      out.append(kCapitalYDiaeresis);
    } else {
      out.push_back(ch);
    }
  }
  line = std::move(out);
}

bool HasHighBytes(std::string_view line) {
  unsigned char all = 0;  // no early exit, so the loop vectorises
  for (char c : line) all |= static_cast<unsigned char>(c);
  return (all & 0x80) != 0;
}

void TransliterateLetters(std::string& line) {
  if (!HasHighBytes(line)) return;
  if (IsValidUtf8(line)) {
    TransliterateUtf8(line);
  } else {
    TransliterateWindows1252(line);
  }
}

}  // namespace

void EncodeMarkupByPasses(std::string& strLine) {
  for (const auto& r : kReplacements) ReplaceAll(strLine, r);
  TransliterateLetters(strLine);
}

void EncodeMarkup(std::string& strLine) {
  ReplaceInOnePass(strLine, 0, kFirstLetterEntity);
  if (strLine.find('&') != std::string::npos) {
    if (EntitiesMayCascade(strLine)) {
      for (std::size_t row = kFirstLetterEntity; row < kReplacements.size(); ++row) {
        ReplaceAll(strLine, kReplacements[row]);
      }
    } else {
      ReplaceInOnePass(strLine, kFirstLetterEntity, kReplacements.size());
    }
  }
  TransliterateLetters(strLine);
}

}  // namespace tagwright

#include "scan/markup_encoding.h"

#include <array>
#include <cstring>
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

// Replaces every occurrence of the rows [first, last) that starts at an "&" or "<", in one
// pass. Exact when no sought text can be formed by an earlier row's output.
void ReplaceInOnePass(std::string& line, std::size_t first, std::size_t last) {
  std::string out;
  out.reserve(line.size());
  const std::string_view text = line;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t next = i;
    while (next < text.size() && text[next] != '&' && text[next] != '<') ++next;
    if (next == text.size()) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, next - i));
    i = next;
    bool replaced = false;
    for (std::size_t row = first; row < last; ++row) {
      const auto& r = kReplacements[row];
      if (text.compare(i, r.sought.size(), r.sought) == 0) {
        out.append(r.replacement);
        i += r.sought.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(text[i++]);
  }
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
  for (std::size_t i = line.find_first_of("&;"); i != std::string_view::npos;
       i = line.find_first_of("&;", i + 1)) {
    if (line[i] == ';') {
      open = false;
    } else if (open) {
      return true;
    } else {
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

void TransliterateUtf8(std::string& line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (i + 1 < line.size()) {
      const auto next = static_cast<unsigned char>(line[i + 1]);
      if (c == 0xC3 && next >= 0x80 && next <= 0xBF && !kLatin1[next - 0x80].empty()) {
        out.append(kLatin1[next - 0x80]);
        ++i;
        continue;
      }
      if (c == 0xC5 && next == 0xB8) {
        out.append(kCapitalYDiaeresis);
        ++i;
        continue;
      }
    }
    out.push_back(line[i]);
  }
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
  for (char c : line) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
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
  if (strLine.find_first_of("&<") != std::string::npos) {
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
  }
  TransliterateLetters(strLine);
}

}  // namespace tagwright

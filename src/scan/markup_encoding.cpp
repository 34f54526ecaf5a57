#include "scan/markup_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

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
    {"&nbsp;", " "},      {"&#160;", " "},   {"&quot;", "\""},  {"&laquo;", "\""},
    {"&raquo;", "\""},    {"<b>", "\x0b"},   {"</b>", "\x0c"},  {"<title>", "\x0e"},
    {"</title>", "\x0f"}, {"<h1>", "\x06"},  {"</h1>", "\x07"}, {"<h2>", "\x05"},
    {"</h2>", "\x07"},    {"<h3>", "\x04"},  {"</h3>", "\x07"}, {"<h4>", "\x03"},
    {"</h4>", "\x07"},    {"<h5>", "\x02"},  {"</h5>", "\x07"}, {"<h6>", "\x01"},
    {"</h6>", "\x07"},    {"&auml;", "ae"},  {"&ouml;", "oe"},  {"&uuml;", "ue"},
    {"&szlig;", "ss"},    {"&agrave;", "a"}, {"&aacute;", "a"}, {"&acirc;", "a"},
    {"&atilde;", "a"},    {"&aring;", "a"},  {"&aelig;", "ae"}, {"&ccedil;", "c"},
    {"&egrave;", "e"},    {"&eacute;", "e"}, {"&ecirc;", "e"},  {"&euml;", "e"},
    {"&igrave;", "i"},    {"&iacute;", "i"}, {"&icirc;", "i"},  {"&iuml;", "i"},
    {"&eth;", "d"},       {"&ntilde;", "n"}, {"&ograve;", "o"}, {"&oacute;", "o"},
    {"&ocirc;", "o"},     {"&otilde;", "o"}, {"&ugrave;", "u"}, {"&uacute;", "u"},
    {"&ucirc;", "u"},     {"&yacute;", "y"}, {"&yuml;", "y"},
}};
constexpr std::size_t kFirstLetterEntity = 21;
// What the replacements rely on to rewrite a line in place.
static_assert(std::all_of(kReplacements.begin(), kReplacements.end(), [](const Replacement& r) {
  return r.replacement.size() < r.sought.size() && r.sought.size() >= 3;
}));

// For each character that may follow the "&" or "<" of a sought text, the rows [first, last)
// whose sought text begins with those two characters, in table order, each with its third
// character (every sought text has three or more).
class Candidates {
 public:
  struct Row {
    char third;
    std::uint8_t row;
  };
  Candidates(std::size_t first, std::size_t last) {
    for (std::size_t row = first; row < last; ++row) {
      const std::string_view sought = kReplacements[row].sought;
      rows_[sought[0] == '<'][static_cast<unsigned char>(sought[1])].push_back(
          Row{sought[2], static_cast<std::uint8_t>(row)});
    }
  }
  /// The rows for the "&" or "<" at `text[i]`, followed by `text[i + 1]`.
  const std::vector<Row>& At(std::string_view text, std::size_t i) const {
    return rows_[text[i] == '<'][static_cast<unsigned char>(text[i + 1])];
  }

 private:
  std::array<std::array<std::vector<Row>, 256>, 2> rows_;
};

// The position of the first `c` at or after `from` in `text`; its size when there is none.
std::size_t NextOf(std::string_view text, char c, std::size_t from) {
  const void* hit =
      from < text.size() ? std::memchr(text.data() + from, c, text.size() - from) : nullptr;
  return hit == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// Replaces every occurrence of the candidates' rows in one pass. Exact when no sought text
// can be formed with an earlier row's output. No replacement is longer than what it replaces,
// so the line is rewritten in place: the text already written never reaches the text still to
// be read.
void ReplaceInOnePass(std::string& line, const Candidates& candidates) {
  char* const data = line.data();
  const std::string_view text = line;
  std::size_t copied = 0;   // text before this is read and rewritten
  std::size_t written = 0;  // the rewritten text ends here
  // The next "&" and the next "<" at or after the position.
  std::size_t ampersand = NextOf(text, '&', 0);
  std::size_t bracket = NextOf(text, '<', 0);
  for (std::size_t i = std::min(ampersand, bracket); i + 2 < text.size();
       i = std::min(ampersand, bracket)) {
    for (const Candidates::Row& candidate : candidates.At(text, i)) {
      // Most brackets open other tags: the third character rules them out cheaply.
      const Replacement& r = kReplacements[candidate.row];
      if (text[i + 2] != candidate.third || !text.substr(i).starts_with(r.sought)) continue;
      if (written != copied) std::memmove(data + written, data + copied, i - copied);
      written += i - copied;
      std::memcpy(data + written, r.replacement.data(), r.replacement.size());
      written += r.replacement.size();
      copied = i + r.sought.size();
      break;
    }
    const std::size_t from = std::max(copied, i + 1);
    if (ampersand < from) ampersand = NextOf(text, '&', from);
    if (bracket < from) bracket = NextOf(text, '<', from);
  }
  if (written == copied) return;  // nothing shorter: the line stays as it is
  std::memmove(data + written, data + copied, text.size() - copied);
  line.resize(written + text.size() - copied);
}

// Replaces every occurrence of one row, left to right, in place like ReplaceInOnePass.
void ReplaceAll(std::string& line, const Replacement& r) {
  std::size_t at = line.find(r.sought);
  if (at == std::string::npos) return;
  char* const data = line.data();
  std::size_t copied = at;   // text before this is read and rewritten
  std::size_t written = at;  // the rewritten text ends here
  while (at != std::string::npos) {
    std::memmove(data + written, data + copied, at - copied);
    written += at - copied;
    std::memcpy(data + written, r.replacement.data(), r.replacement.size());
    written += r.replacement.size();
    copied = at + r.sought.size();
    at = line.find(r.sought, copied);
  }
  std::memmove(data + written, data + copied, line.size() - copied);
  line.resize(written + line.size() - copied);
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
  constexpr Letter lower[] = {{0xE4, "ae"}, {0xF6, "oe"}, {0xFC, "ue"}, {0xDF, "ss"}, {0xE0, "a"},
                              {0xE1, "a"},  {0xE2, "a"},  {0xE3, "a"},  {0xE5, "a"},  {0xE6, "ae"},
                              {0xE7, "c"},  {0xE8, "e"},  {0xE9, "e"},  {0xEA, "e"},  {0xEB, "e"},
                              {0xEC, "i"},  {0xED, "i"},  {0xEE, "i"},  {0xEF, "i"},  {0xF0, "d"},
                              {0xF1, "n"},  {0xF2, "o"},  {0xF3, "o"},  {0xF4, "o"},  {0xF5, "o"},
                              {0xF9, "u"},  {0xFA, "u"},  {0xFB, "u"},  {0xFD, "y"},  {0xFF, "y"}};
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

// Every letter takes two bytes and becomes one or two, so this too rewrites in place.
void TransliterateUtf8(std::string& line) {
  char* const data = line.data();
  const std::string_view text = line;
  std::size_t copied = 0;   // bytes before this are read and rewritten
  std::size_t written = 0;  // the rewritten bytes end here
  // Every letter begins with one of two lead bytes; memchr finds the next of each.
  std::size_t nextC3 = NextOf(text, '\xC3', 0);
  std::size_t nextC5 = NextOf(text, '\xC5', 0);
  for (std::size_t i = std::min(nextC3, nextC5); i + 1 < text.size();
       i = std::min(nextC3, nextC5)) {
    const std::string_view letter = Utf8LetterAt(text, i);
    std::size_t from = i + 1;
    if (!letter.empty()) {
      if (written != copied) std::memmove(data + written, data + copied, i - copied);
      written += i - copied;
      std::memcpy(data + written, letter.data(), letter.size());
      written += letter.size();
      copied = from = i + 2;
    }
    if (nextC3 < from) nextC3 = NextOf(text, '\xC3', from);
    if (nextC5 < from) nextC5 = NextOf(text, '\xC5', from);
  }
  if (written == copied) return;  // the line kept its length: all is in place
  std::memmove(data + written, data + copied, text.size() - copied);
  line.resize(written + text.size() - copied);
}

// The transliteration of a Windows-1252 byte, or empty when the byte stays.
std::string_view Windows1252LetterOf(unsigned char c) {
  if (c >= 0xC0) return kLatin1[c - 0xC0];
  return c == 0x9F ? kCapitalYDiaeresis : std::string_view();
}

void TransliterateWindows1252(std::string& line) {
  // Only bytes from 0x80 up change, and only the letters that become two make the line longer.
  const std::string_view text = line;
  std::size_t length = text.size();
  for (std::size_t i = NextHighByte(text, 0); i < text.size(); i = NextHighByte(text, i + 1)) {
    if (Windows1252LetterOf(static_cast<unsigned char>(text[i])).size() == 2) ++length;
  }
  if (length == text.size()) {
    for (std::size_t i = NextHighByte(text, 0); i < text.size(); i = NextHighByte(text, i + 1)) {
      const std::string_view letter = Windows1252LetterOf(static_cast<unsigned char>(text[i]));
      if (!letter.empty()) line[i] = letter[0];
    }
    return;
  }
  std::string out;
  out.reserve(length);
  std::size_t copied = 0;  // bytes before this are in `out`
  for (std::size_t i = NextHighByte(text, 0); i < text.size(); i = NextHighByte(text, i + 1)) {
    const std::string_view letter = Windows1252LetterOf(static_cast<unsigned char>(text[i]));
    if (letter.empty()) continue;
    out.append(text.substr(copied, i - copied));
    out.append(letter);
    copied = i + 1;
  }
  out.append(text.substr(copied));
  line = std::move(out);
}

void TransliterateLetters(std::string& line) {
  if (NextHighByte(line, 0) == line.size()) return;
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
  static const Candidates tagsAndEntities(0, kFirstLetterEntity);
  static const Candidates letterEntities(kFirstLetterEntity, kReplacements.size());
  ReplaceInOnePass(strLine, tagsAndEntities);
  if (strLine.find('&') != std::string::npos) {
    if (EntitiesMayCascade(strLine)) {
      for (std::size_t row = kFirstLetterEntity; row < kReplacements.size(); ++row) {
        ReplaceAll(strLine, kReplacements[row]);
      }
    } else {
      ReplaceInOnePass(strLine, letterEntities);
    }
  }
  TransliterateLetters(strLine);
}

}  // namespace tagwright

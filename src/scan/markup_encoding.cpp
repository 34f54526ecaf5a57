#include "scan/markup_encoding.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "scan/character_references.h"
#include "util/byte_search.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"
#include "util/transliteration.h"
#include "util/utf8_text.h"

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
      if (sought[0] == '<') hasTags_ = true;
    }
  }
  /// Whether any of the rows begins with "<" (otherwise only the "&" need looking at).
  bool HasTags() const { return hasTags_; }
  /// The rows for the "&" or "<" at `text[i]`, followed by `text[i + 1]`.
  const std::vector<Row>& At(std::string_view text, std::size_t i) const {
    return rows_[text[i] == '<'][static_cast<unsigned char>(text[i + 1])];
  }

 private:
  std::array<std::array<std::vector<Row>, 256>, 2> rows_;
  bool hasTags_ = false;
};

// Whether `first` and `second`, the characters after a "<" or "</", may begin a sought tag's
// name: "b>", "ti" (title) or "h1" to "h6". Most brackets of a page open other tags ("<span",
// "</td>", "<head>", "<br>"). Two small tables answer without branches, which the mix of a
// page's tags would mostly mispredict: each character gets a bit for each name it may begin
// and one for each it may continue.
constexpr std::array<std::uint8_t, 256> kNameFirst = [] {
  std::array<std::uint8_t, 256> bits{};
  bits['b'] = 1;
  bits['t'] = 2;
  bits['h'] = 4;
  return bits;
}();
constexpr std::array<std::uint8_t, 256> kNameSecond = [] {
  std::array<std::uint8_t, 256> bits{};
  bits['>'] = 1;
  bits['i'] = 2;
  for (char digit = '1'; digit <= '6'; ++digit) bits[static_cast<unsigned char>(digit)] = 4;
  return bits;
}();
constexpr bool MayBeginSoughtName(char first, char second) {
  return (kNameFirst[static_cast<unsigned char>(first)] &
          kNameSecond[static_cast<unsigned char>(second)]) != 0;
}
static_assert(std::all_of(kReplacements.begin(), kReplacements.end(), [](const Replacement& r) {
  return r.sought[0] != '<' || MayBeginSoughtName(r.sought[1], r.sought[2]) ||
         (r.sought[1] == '/' && MayBeginSoughtName(r.sought[2], r.sought[3]));
}));

// Whether the "<" at `i` (with three characters after it) may begin a sought tag.
bool MayBeginSoughtTag(std::string_view text, std::size_t i) {
  // Both are judged, without a branch: one that would mostly be mispredicted.
  const unsigned slash = text[i + 1] == '/' ? 1u : 0u;
  return (static_cast<unsigned>(MayBeginSoughtName(text[i + 1], text[i + 2])) |
          (slash & static_cast<unsigned>(MayBeginSoughtName(text[i + 2], text[i + 3])))) != 0;
}

// The first position at or after `from` where a sought text may begin: an "&", or, when `tags`,
// a "<" whose next characters may begin a sought tag. The brackets and ampersands are found
// many at once and judged one after the other.
std::size_t NextCandidate(std::string_view text, std::size_t from, bool tags) {
  if (!tags) return FindByte(text, from, '&');
  // Near the end, where a sought text of three characters or more may still begin, the caller
  // judges.
  const std::size_t found = FindEitherIf(text, from, '&', '<', [&](std::size_t at) {
    return at + 3 >= text.size() || text[at] == '&' || MayBeginSoughtTag(text, at);
  });
  return found + 2 < text.size() ? found : text.size();
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
  const bool tags = candidates.HasTags();
  for (std::size_t i = NextCandidate(text, 0, tags); i + 2 < text.size();
       i = NextCandidate(text, std::max(copied, i + 1), tags)) {
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
  }
  if (written == copied) return;  // nothing shorter: the line stays as it is
  std::memmove(data + written, data + copied, text.size() - copied);
  line.resize(written + text.size() - copied);
}

// Replaces every occurrence of one row in the `size` bytes at `data`, left to right, in place
// like ReplaceInOnePass; returns their new size.
std::size_t ReplaceAllIn(char* data, std::size_t size, const Replacement& r) {
  const std::string_view text(data, size);  // read only beyond what is rewritten
  std::size_t at = text.find(r.sought);
  if (at == std::string_view::npos) return size;
  std::size_t copied = at;   // text before this is read and rewritten
  std::size_t written = at;  // the rewritten text ends here
  while (at != std::string_view::npos) {
    std::memmove(data + written, data + copied, at - copied);
    written += at - copied;
    std::memcpy(data + written, r.replacement.data(), r.replacement.size());
    written += r.replacement.size();
    copied = at + r.sought.size();
    at = text.find(r.sought, copied);
  }
  std::memmove(data + written, data + copied, size - copied);
  return written + size - copied;
}

// The same over a whole line.
void ReplaceAll(std::string& line, const Replacement& r) {
  line.resize(ReplaceAllIn(line.data(), line.size(), r));
}

// An entity's replacement letters can complete an entity that began earlier ("&" followed by
// an entity and the rest of another entity's name) only when an "&" is followed by another
// "&" with no ";" between them.
bool EntitiesMayCascade(std::string_view line) {
  // From each "&" the next ";" and the next "&" are looked up; past a ";" the
  // search starts over at the next "&".
  for (std::size_t ampersand = FindByte(line, 0, '&'); ampersand < line.size();) {
    const std::size_t semicolon = FindByte(line, ampersand + 1, ';');
    const std::size_t next = FindByte(line, ampersand + 1, '&');
    if (next < semicolon) return true;
    ampersand = next;
  }
  return false;
}

// Whether `c` may be part of a letter entity, or of one that a replacement completes: the
// entities are an "&", lower-case letters and a ";", and their replacements are letters.
bool MayFormLetterEntity(char c) { return (c >= 'a' && c <= 'z') || c == '&' || c == ';'; }

// The letter entities replaced row after row, each row over the whole line before the next,
// where an entity's replacement may complete one that began before it. Every such chain lies
// within a run of the characters entities are made of, so the rows go over each run that holds
// an "&" rather than the whole line: a long line with one such place is not read once a row.
void ReplaceLetterEntitiesInOrder(std::string& line) {
  char* const data = line.data();
  const std::string_view text = line;
  std::size_t copied = 0;   // text before this is read and rewritten
  std::size_t written = 0;  // the rewritten text ends here
  for (std::size_t at = FindByte(text, 0, '&'); at < text.size();
       at = FindByte(text, copied, '&')) {
    std::size_t begin = at;
    while (begin > copied && MayFormLetterEntity(text[begin - 1])) --begin;
    std::size_t end = at + 1;
    while (end < text.size() && MayFormLetterEntity(text[end])) ++end;
    // The text up to the run's end moves to where the rewritten text ends; the rows are then
    // replaced within the run where it now stands, each making it shorter or leaving it.
    if (written != copied) std::memmove(data + written, data + copied, end - copied);
    const std::size_t runAt = written + (begin - copied);
    std::size_t runLength = end - begin;
    for (std::size_t row = kFirstLetterEntity; row < kReplacements.size(); ++row) {
      runLength = ReplaceAllIn(data + runAt, runLength, kReplacements[row]);
    }
    written = runAt + runLength;
    copied = end;
  }
  if (written == copied) return;
  std::memmove(data + written, data + copied, text.size() - copied);
  line.resize(written + text.size() - copied);
}

// No letter's transliteration is longer than its UTF-8 form, so this rewrites in place. The
// line is valid UTF-8.
void TransliterateUtf8(std::string& line) {
  char* const data = line.data();
  const std::string_view text = line;
  std::size_t copied = 0;   // bytes before this are read and rewritten
  std::size_t written = 0;  // the rewritten bytes end here
  for (std::size_t i = NextHighByte(text, 0); i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    // Only U+00C0 to U+024F (lead bytes 0xC3 to 0xC9) and U+1E00 to U+1EFF (0xE1) have
    // letters to spell; other characters are passed by their length.
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    std::string_view letter;
    if ((lead >= 0xC3 && lead <= 0xC9) || lead == 0xE1) {
      letter = TransliterateLetter(DecodeUtf8(text, i, length));
    }
    if (!letter.empty()) {
      if (written != copied) std::memmove(data + written, data + copied, i - copied);
      written += i - copied;
      std::memcpy(data + written, letter.data(), letter.size());
      written += letter.size();
      copied = i + length;
    }
    i += length;
    if (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) i = NextHighByte(text, i);
  }
  if (written == copied) return;  // the line kept its length: all is in place
  std::memmove(data + written, data + copied, text.size() - copied);
  line.resize(written + text.size() - copied);
}

// The transliteration of each Windows-1252 byte (empty for the bytes that stay).
const std::array<std::string_view, 256>& Windows1252Letters() {
  static const std::array<std::string_view, 256> table = [] {
    std::array<std::string_view, 256> t{};
    for (unsigned c = 0x80; c < 256; ++c) {
      t[c] = TransliterateLetter(Windows1252CodePoint(static_cast<unsigned char>(c)));
    }
    return t;
  }();
  return table;
}

// Calls `each(i)` for each byte from 0x80 up in `text`, in order: runs of ASCII are passed many
// bytes at once, and in a run of other bytes (a page in another script) each next byte is
// looked at directly.
template <class Each>
void ForEachHighByte(std::string_view text, Each&& each) {
  for (std::size_t i = NextHighByte(text, 0); i < text.size();) {
    each(i);
    ++i;
    if (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) i = NextHighByte(text, i);
  }
}

void TransliterateWindows1252(std::string& line) {
  const auto& letters = Windows1252Letters();
  auto letterOf = [&](char c) { return letters[static_cast<unsigned char>(c)]; };
  // Only bytes from 0x80 up change, and only the letters that become two make the line longer.
  const std::string_view text = line;
  std::size_t length = text.size();
  ForEachHighByte(text, [&](std::size_t i) {
    if (letterOf(text[i]).size() == 2) ++length;
  });
  if (length == text.size()) {
    ForEachHighByte(text, [&](std::size_t i) {
      const std::string_view letter = letterOf(text[i]);
      if (!letter.empty()) line[i] = letter[0];
    });
    return;
  }
  // The line grows. Its text moves to the end of the longer line, then is rewritten from
  // there to the front: each letter adds at most one byte, so the writing never overtakes the
  // reading, and a long line is never copied whole.
  const std::size_t growth = length - text.size();
  line.resize(length);
  char* const data = line.data();
  std::memmove(data + growth, data, length - growth);
  const std::string_view moved(data + growth, length - growth);
  std::size_t written = 0;
  std::size_t copied = 0;  // bytes of `moved` before this are written
  ForEachHighByte(moved, [&](std::size_t i) {
    const std::string_view letter = letterOf(moved[i]);
    if (letter.empty()) return;
    std::memmove(data + written, moved.data() + copied, i - copied);
    written += i - copied;
    std::memcpy(data + written, letter.data(), letter.size());
    written += letter.size();
    copied = i + 1;
  });
  std::memmove(data + written, moved.data() + copied, moved.size() - copied);
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

void EncodeMarkupByPasses(std::string& line) {
  for (const auto& r : kReplacements) ReplaceAll(line, r);
  if (line.find('&') != std::string::npos) DecodeCharacterReferences(line);
  TransliterateLetters(line);
}

void EncodeMarkup(std::string& line, bool spellLetters) {
  static const Candidates tagsAndEntities(0, kFirstLetterEntity);
  static const Candidates letterEntities(kFirstLetterEntity, kReplacements.size());
  ReplaceInOnePass(line, tagsAndEntities);
  if (line.find('&') != std::string::npos) {
    if (EntitiesMayCascade(line)) {
      ReplaceLetterEntitiesInOrder(line);
    } else {
      ReplaceInOnePass(line, letterEntities);
    }
    // Every reference the table above leaves.
    DecodeCharacterReferences(line);
  }
  if (spellLetters) TransliterateLetters(line);
}

}  // namespace tagwright

#include "scan/modern_reading.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>

#include <algorithm>
#include <array>
#include <initializer_list>

#include "util/str_proc.h"
#include "util/transliteration.h"
#include "util/unicode_text.h"
#include "util/utf8_text.h"

namespace tagwright {

namespace {

bool IsNameEnd(char c) { return c == ' ' || c == '\t' || c == '/' || c == '>' || c == '\f'; }

// True when `attribute` stands in `tag` as an attribute name.
bool HasAttribute(std::string_view tag, std::string_view attribute) {
  for (std::size_t at = tag.find(attribute); at != std::string_view::npos;
       at = tag.find(attribute, at + 1)) {
    const std::size_t end = at + attribute.size();
    if (at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t') &&
        (end == tag.size() || IsNameEnd(tag[end]) || tag[end] == '=')) {
      return true;
    }
  }
  return false;
}

// Puts the value of `attribute` in `tag` (quotes removed) into `value`; false when the tag has
// no such attribute.
bool AttributeValue(std::string_view tag, std::string_view attribute, std::string_view& value) {
  for (std::size_t at = tag.find(attribute); at != std::string_view::npos;
       at = tag.find(attribute, at + 1)) {
    if (at == 0 || (tag[at - 1] != ' ' && tag[at - 1] != '\t')) continue;
    std::size_t i = at + attribute.size();
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && tag[i] == ' ') ++i;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
      const std::size_t end = tag.find(tag[i], i + 1);
      value = tag.substr(i + 1, (end == std::string_view::npos ? tag.size() : end) - i - 1);
    } else {
      std::size_t end = i;
      while (end < tag.size() && !IsNameEnd(tag[end])) ++end;
      value = tag.substr(i, end - i);
    }
    return true;
  }
  return false;
}

// Code points of scripts written without blanks between words.
bool NeedsWordBreaks(char32_t c) {
  return (c >= 0x0E00 && c <= 0x0EFF) ||  // Thai, Lao
         (c >= 0x1000 && c <= 0x109F) ||  // Myanmar
         (c >= 0x1780 && c <= 0x17FF) ||  // Khmer
         (c >= 0x3040 && c <= 0x30FF) ||  // Hiragana, Katakana
         (c >= 0x3400 && c <= 0x9FFF) ||  // CJK ideographs
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// True when the class list `classes` holds one of `names` as one of its blank-separated words.
bool HasClass(std::string_view classes, std::initializer_list<std::string_view> names) {
  for (std::size_t at = 0; at <= classes.size();) {
    const std::size_t end = std::min(classes.find(' ', at), classes.size());
    const std::string_view word = classes.substr(at, end - at);
    if (std::find(names.begin(), names.end(), word) != names.end()) return true;
    at = end + 1;
  }
  return false;
}

ModernTag::Element ElementOf(std::string_view name) {
  using Element = ModernTag::Element;
  static constexpr std::array<std::string_view, 6> kCode = {"pre",  "code", "kbd",
                                                            "samp", "var",  "tt"};
  static constexpr std::array<std::string_view, 10> kBlock = {"ul", "ol", "dl", "li",  "dd",
                                                              "dt", "td", "th", "div", "p"};
  if (name == "a") return Element::Link;
  if (std::find(kBlock.begin(), kBlock.end(), name) != kBlock.end()) return Element::Block;
  if (std::find(kCode.begin(), kCode.end(), name) != kCode.end()) return Element::Code;
  if (name == "main" || name == "article") return Element::Main;
  if (name == "header" || name == "footer" || name == "aside") return Element::Furniture;
  return Element::Other;
}

// True when `text` starts with `lower` in any case.
bool StartsWithIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() < lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

bool HasMainElement(std::string_view head) {
  for (std::size_t at = head.find('<'); at != std::string_view::npos; at = head.find('<', at + 1)) {
    const std::string_view rest = head.substr(at + 1);
    for (const std::string_view name : {std::string_view("main"), std::string_view("article")}) {
      if (StartsWithIgnoringCase(rest, name) &&
          (rest.size() == name.size() || IsNameEnd(rest[name.size()]) ||
           rest[name.size()] == '\n' || rest[name.size()] == '\r')) {
        return true;
      }
    }
  }
  return false;
}

std::string_view TagName(std::string_view tag) {
  std::size_t end = tag.starts_with('/') ? 1 : 0;
  while (end < tag.size() && !IsNameEnd(tag[end])) ++end;
  return tag.substr(0, end);
}

ModernTag ReadModernTag(std::string_view tag) {
  ModernTag read;
  const std::string_view name = TagName(tag);
  const bool closing = name.starts_with('/');
  const std::string_view bare = closing ? name.substr(1) : name;
  using Context = ModernTag::Context;
  if (bare.size() == 2 && bare[0] == 'h' && bare[1] >= '1' && bare[1] <= '6') {
    read.context = closing ? Context::HeadingEnd : Context::HeadingStart;
    read.headingWeight = '7' - bare[1];
  } else if (bare == "b" || bare == "strong") {
    read.context = closing ? Context::BoldEnd : Context::BoldStart;
  } else if (bare == "title") {
    read.context = closing ? Context::TitleEnd : Context::TitleStart;
  }
  read.closing = closing;
  read.name = bare;
  read.element = ElementOf(bare);
  const std::string_view attributes = tag.substr(name.size());
  if (read.element == ModernTag::Element::Link && !closing && !HasAttribute(attributes, "href")) {
    read.element = ModernTag::Element::Other;  // an anchor, no link
  }
  if (closing) return read;
  // Navigation, and the text of forms and their controls, is no text of the page.
  if (name == "svg" || name == "template" || name == "noscript" || name == "nav" ||
      name == "form" || name == "button" || name == "select" || name == "option" ||
      name == "label") {
    read.skipsContent = true;
  }
  // Most tags have none of the attributes sought: one search rules out both kinds of hidden,
  // and none is needed where there is no room for the shortest ("nav").
  std::string_view value;
  const bool searched = !read.skipsContent && attributes.size() >= 3;
  if (searched && attributes.find("hidden") != std::string_view::npos) {
    read.skipsContent =
        HasAttribute(attributes, "hidden") ||
        (AttributeValue(attributes, "aria-hidden", value) && TrimBlanks(value) == "true");
  }
  if (searched && !read.skipsContent && attributes.find("role") != std::string_view::npos &&
      AttributeValue(attributes, "role", value)) {
    const std::string_view role = TrimBlanks(value);
    read.skipsContent = role == "navigation" || role == "banner" || role == "contentinfo" ||
                        role == "complementary" || role == "search";
  }
  // The navigation bars that documentation generators write without <nav>: DocBook's
  // header and footer, Doxygen's path.
  if (searched && !read.skipsContent && attributes.find("nav") != std::string_view::npos &&
      AttributeValue(attributes, "class", value)) {
    read.skipsContent = HasClass(value, {"navheader", "navfooter", "navpath"});
  }
  if (searched && !read.skipsContent && attributes.find("class") != std::string_view::npos &&
      AttributeValue(attributes, "class", value)) {
    read.signature = HasClass(value, {"code-header", "fn", "memproto", "memname", "memitemleft"});
  }
  // Self-closed (<svg/>) and void elements have no content to skip.
  if (read.skipsContent && (IsVoidElement(name) || TrimBlanks(attributes).ends_with('/'))) {
    read.skipsContent = false;
  }
  if (name == "html" && AttributeValue(attributes, "lang", value)) {
    read.language = TrimBlanks(value);
    read.hasLanguage = true;
  }
  return read;
}

bool IsVoidElement(std::string_view name) {
  static constexpr std::array<std::string_view, 14> kVoid = {
      "area",  "base", "br",   "col",    "embed", "hr",  "img",
      "input", "link", "meta", "source", "track", "wbr", "param"};
  return std::find(kVoid.begin(), kVoid.end(), name) != kVoid.end();
}

bool HasOptionalEnd(std::string_view name) {
  static constexpr std::array<std::string_view, 16> kOptional = {
      "p",  "li",    "dt",    "dd",    "option",   "optgroup", "tr", "td",
      "th", "thead", "tbody", "tfoot", "colgroup", "rb",       "rt", "rp"};
  return std::find(kOptional.begin(), kOptional.end(), name) != kOptional.end();
}

bool IsWordCodePoint(char32_t c) {
  // The letters of most text that is not in English (accented Latin letters, Kana, CJK
  // ideographs, Hangul syllables) are answered without asking ICU.
  if ((c >= 0xC0 && c < 0x250 && c != 0xD7 && c != 0xF7) || (c >= 0x3041 && c < 0x3097) ||
      (c >= 0x30A1 && c < 0x30FB) || (c >= 0x4E00 && c < 0xA000) || (c >= 0xAC00 && c < 0xD7A4)) {
    return true;
  }
  const auto code = static_cast<UChar32>(c);
  return u_hasBinaryProperty(code, UCHAR_ALPHABETIC) || (U_GET_GC_MASK(code) & U_GC_M_MASK) != 0;
}

WordSplitter::~WordSplitter() {
  if (breaker_ != nullptr) ubrk_close(breaker_);
  if (text_ != nullptr) utext_close(text_);
}

bool WordSplitter::NeedsBreaking(std::string_view run) {
  for (std::size_t i = 0; i < run.size();) {
    if (static_cast<unsigned char>(run[i]) < 0xE0) {
      ++i;
      continue;
    }
    std::size_t length = 1;
    if (NeedsWordBreaks(DecodeUtf8(run, i, length))) return true;
    i += length;
  }
  return false;
}

const std::string& WordSplitter::Lowered(std::string_view word) {
  lowered_.clear();
  for (std::size_t i = 0; i < word.size();) {
    std::size_t length = 1;
    const char32_t c = DecodeUtf8(word, i, length);
    const char32_t lower = LowerCodePoint(c);
    if (lower == c) {
      lowered_.append(word.substr(i, length));
    } else {
      AppendCodePoint(lowered_, static_cast<std::uint32_t>(lower));
    }
    i += length;
  }
  return lowered_;
}

void WordSplitter::BreakInto(std::string_view run) {
  // Runs longer than this seldom repeat; the budget keeps the memory to a few MiB.
  constexpr std::size_t kLongestRemembered = 256;
  constexpr std::size_t kRememberedBudget = 4u << 20;
  if (run.size() <= kLongestRemembered) {
    if (const auto found = remembered_.find(run); found != remembered_.end()) {
      breaks_ = found->second;
      return;
    }
  }
  BreakWithDictionary(run);
  if (run.size() <= kLongestRemembered) {
    if (rememberedBytes_ + run.size() > kRememberedBudget) {
      remembered_.clear();
      rememberedBytes_ = 0;
    }
    remembered_.emplace(std::string(run), breaks_);
    rememberedBytes_ += run.size();
  }
}

void WordSplitter::BreakWithDictionary(std::string_view run) {
  breaks_.clear();
  UErrorCode status = U_ZERO_ERROR;
  text_ = utext_openUTF8(text_, run.data(), static_cast<int64_t>(run.size()), &status);
  if (U_SUCCESS(status) && breaker_ == nullptr) {
    breaker_ = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
  }
  if (U_SUCCESS(status)) ubrk_setUText(breaker_, text_, &status);
  if (U_FAILURE(status)) {
    breaks_ = {0, run.size()};
    return;
  }
  // Over UTF-8 text the iterator's positions are byte offsets.
  for (int32_t at = ubrk_first(breaker_); at != UBRK_DONE; at = ubrk_next(breaker_)) {
    breaks_.push_back(static_cast<std::size_t>(at));
  }
  if (breaks_.empty() || breaks_.back() != run.size()) breaks_.push_back(run.size());
}

void SpellLatinLetters(std::string_view word, std::string& spelled) {
  spelled.clear();
  for (std::size_t i = 0; i < word.size();) {
    const auto byte = static_cast<unsigned char>(word[i]);
    if (byte < 0x80) {
      spelled.push_back(word[i++]);
      continue;
    }
    std::size_t length = 1;
    const char32_t c = DecodeUtf8(word, i, length);
    // Only letters from U+00C0 to U+024F (lead bytes C3 to C9) and of Latin Extended
    // Additional (lead byte E1) have a spelling.
    const std::string_view latin = (byte >= 0xC3 && byte <= 0xC9) || byte == 0xE1
                                       ? TransliterateLetter(c)
                                       : std::string_view();
    if (latin.empty()) {
      spelled.append(word.substr(i, length));
    } else {
      spelled.append(latin);
    }
    i += length;
  }
}

}  // namespace tagwright

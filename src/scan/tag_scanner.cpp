#include "scan/tag_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "scan/markup_encoding.h"
#include "util/str_proc.h"
#include "util/unicode_text.h"
#include "words/stop_words.h"

namespace tagwright {

namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view strScriptStart = "<script";
constexpr std::string_view strScriptEnd = "</script>";
constexpr std::string_view strStyleStart = "<style";
constexpr std::string_view strStyleEnd = "</style>";
constexpr std::string_view strCommentStart = "<!--";
constexpr std::string_view strCommentEnd = "-->";
constexpr std::string_view strTableStart = "<table";
constexpr std::string_view strTableEnd = "</table>";

// Yield to the caller after this many scan steps.
constexpr std::uint32_t kStepsPerYield = 4096;

// A character that a scan cycle outside any tag or region only steps over: anything but
// letters, brackets and the markers.
constexpr std::array<bool, 256> kPlainCharacters = [] {
  std::array<bool, 256> plain{};
  for (unsigned u = 0; u < 256; ++u) {
    const auto c = static_cast<char>(u);
    plain[u] = u >= 0x80 || (!IsLetter(c) && c != '<' && c != '>' && !(u >= 1 && u <= 7) &&
                             u != kMarkBoldStart && u != kMarkBoldEnd && u != kMarkTitleStart &&
                             u != kMarkTitleEnd);
  }
  return plain;
}();

bool IsPlainCharacter(char c) { return kPlainCharacters[static_cast<unsigned char>(c)]; }

// The end of the run of plain characters from `from` on, the closing blank excluded. (The
// loop works on a copy of the position: a member would be reloaded after every character.)
std::size_t PlainRunEnd(std::string_view line, std::size_t from) {
  std::size_t i = from;
  while (i + 1 < line.size() && IsPlainCharacter(line[i])) ++i;
  return i;
}

// The same where bytes from 0x80 up may begin letters.
std::size_t PlainAsciiRunEnd(std::string_view line, std::size_t from) {
  std::size_t i = from;
  while (i + 1 < line.size() && static_cast<unsigned char>(line[i]) < 0x80 &&
         IsPlainCharacter(line[i])) {
    ++i;
  }
  return i;
}

// The first bracket or quotation mark ("<", ">", '"' or "'") from `from` on in `line`; its
// size when there is none.
std::size_t NextTagStop(std::string_view line, std::size_t from) {
  std::size_t i = from;
#if defined(__SSE2__)
  const __m128i opening = _mm_set1_epi8('<');
  const __m128i closing = _mm_set1_epi8('>');
  const __m128i doubleQuote = _mm_set1_epi8('"');
  const __m128i singleQuote = _mm_set1_epi8('\'');
  if (line.size() >= 16 && i < line.size()) {
    return FirstFound(line, i, [&](std::size_t at) {
      const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + at));
      const __m128i brackets =
          _mm_or_si128(_mm_cmpeq_epi8(sixteen, opening), _mm_cmpeq_epi8(sixteen, closing));
      const __m128i quotes =
          _mm_or_si128(_mm_cmpeq_epi8(sixteen, doubleQuote), _mm_cmpeq_epi8(sixteen, singleQuote));
      return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(brackets, quotes)));
    });
  }
#endif
  // All four lie below 0x40: one comparison passes letters and most other characters.
  while (i < line.size() &&
         (static_cast<unsigned char>(line[i]) >= 0x40 ||
          (line[i] != '<' && line[i] != '>' && line[i] != '"' && line[i] != '\''))) {
    ++i;
  }
  return i;
}

bool IsSignOrDigit(char c) { return c == '+' || c == '-' || (c >= '0' && c <= '9'); }

// End of an occurrence of `pattern` starting at `start`, with blanks between its characters
// ignored; npos when there is none.
std::size_t MatchIgnoringBlanks(std::string_view text, std::size_t start,
                                std::string_view pattern) {
  std::size_t j = start;
  for (char p : pattern) {
    while (j < text.size() && text[j] == ' ') ++j;
    if (j >= text.size() || text[j] != p) return npos;
    ++j;
  }
  return j;
}

// End of the first occurrence of `pattern` in `text` at or after `from` (blanks between its
// characters ignored when `skipBlanks`); npos when there is none.
std::size_t FindIn(std::string_view text, std::size_t from, std::string_view pattern,
                   bool skipBlanks) {
  if (!skipBlanks) {
    const std::size_t start = text.find(pattern, from);
    return start == npos ? npos : start + pattern.size();
  }
  for (std::size_t s = text.find(pattern[0], from); s != npos; s = text.find(pattern[0], s + 1)) {
    const std::size_t end = MatchIgnoringBlanks(text, s, pattern);
    if (end != npos) return end;
  }
  return npos;
}

}  // namespace

TagScanner::TagScanner(const AnalysisSettings& settings, WordTable& table, ScanObserver& observer)
    : settings_(settings), table_(table), observer_(observer) {}

void TagScanner::Reset() {
  strLine.clear();
  intPos = 0;
  strWord = {};
  blnInTag = false;
  intTagDepth = 0;
  blnSkipToTagEnd = false;
  blnInComment = false;
  blnInStyle = false;
  blnInScript = false;
  intTableDepth = 0;
  blnBold = false;
  blnInTitle = false;
  intHeadingLevel = 0;
  blnInMetaDescription = false;
  blnInMetaKeywords = false;
  intFontSize = 3;
  intFontSizeStack.clear();
  stopWords_ = StopWords();
  skipName_.clear();
  skipDepth_ = 0;
  labelPossible_ = false;
  codeDepth_ = 0;
  signatureName_.clear();
  signatureDepth_ = 0;
  signatureInHeading_ = false;
  mainDepth_ = 0;
  pageHasMain_ = false;
  inLink_ = false;
  blocks_.Reset();
  stemmer_.SetLanguage({});
}

float TagScanner::ContextWeight() const {
  float weight = 0;
  if (blnInTitle) {
    weight = 48;
  } else if (blnInMetaDescription) {
    weight = 24;
  } else if (blnInMetaKeywords) {
    weight = 4.0f * static_cast<float>(settings_.ExistingKeywordsWeight());
  }
  weight += static_cast<float>(intFontSize + intHeadingLevel);
  if (intTableDepth > 0) weight += static_cast<float>(settings_.TableWeight());
  if (blnBold) weight += static_cast<float>(settings_.BoldWeight());
  // The modern reading: on a page with main or article, the text outside them is furniture
  // more often than not.
  if (pageHasMain_ && mainDepth_ == 0 && !blnInTitle && !blnInMetaDescription &&
      !blnInMetaKeywords && modern_) {
    weight /= 2;
  }
  return std::max(weight, 1.0f);
}

WeightSplit TagScanner::ContextWeightSplit() const {
  // The same sum as ContextWeight, kept apart by source.
  WeightSplit split{};
  const auto at = [&split](WeightSource source) -> float& {
    return split[static_cast<std::size_t>(source)];
  };
  const auto size = static_cast<float>(intFontSize);
  if (blnInTitle) {
    at(WeightSource::Title) = 48 + size;
  } else if (blnInMetaDescription) {
    at(WeightSource::Meta) = 24 + size;
  } else if (blnInMetaKeywords) {
    at(WeightSource::Meta) = 4.0f * static_cast<float>(settings_.ExistingKeywordsWeight()) + size;
  } else {
    at(WeightSource::Body) = size;
  }
  at(WeightSource::Headings) = static_cast<float>(intHeadingLevel);
  if (intTableDepth > 0) at(WeightSource::Tables) = static_cast<float>(settings_.TableWeight());
  if (blnBold) at(WeightSource::Bold) = static_cast<float>(settings_.BoldWeight());
  float total = 0;
  for (const float part : split) total += part;
  if (total < 1.0f) at(WeightSource::Body) += 1.0f - total;
  return split;
}

void TagScanner::LowerTagDepth() {
  // A closing bracket with no tag open is text; the depth never falls below 0.
  if (intTagDepth > 0) --intTagDepth;
}

void TagScanner::ScanLine(std::string& line) {
  // Borrowed, so that the caller can read the next line into the same buffer.
  strLine.swap(line);
  ScanStrLine();
  strLine.swap(line);
}

void TagScanner::ScanStrLine() {
  intPos = 0;
  nextBracket_ = Memo{};
  sizeEquals_ = size_ = Memo{};
  nextDoubleQuote_ = nextSingleQuote_ = Memo{};
  metaValueEnd_ = 0;
  bracketsAhead_.Reset(strLine);
  next_ = afterNext_ = Upcoming{};
  modern_ = settings_.ModernMarkup();

  // The last character is the closing blank: the line is done when the position reaches it.
  while (intPos + 1 < strLine.size()) {
    if (++cycles_ % kStepsPerYield == 0) {
      observer_.OnYield();
      // Stop takes effect here, not only at the line's end: a line may be megabytes long.
      if (observer_.StopRequested()) return;
    }

    // Most cycles take a word, pass other characters or read a tag in the text outside any
    // tag, comment, script, style, meta tag or skipped table: they are told apart first.
    if (InPlainText()) {
      // Words and the characters between them change none of that, nor do most tags: they
      // are taken one after the other until something else comes, each a cycle of its own,
      // just as the steps below would take them.
      bool taken = false;
      const bool modern = modern_;
      for (;;) {
        const char c = strLine[intPos];
        if (modern && (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)) {
          TakeModernWord();
        } else if (IsLetter(c)) {
          TakeWord();
        } else if (IsPlainCharacter(c)) {
          intPos =
              modern ? PlainAsciiRunEnd(strLine, intPos + 1) : PlainRunEnd(strLine, intPos + 1);
        } else if (c == '<' && !At(strTableStart) && !At(strTableEnd) && !At(strCommentStart) &&
                   !At(strStyleStart) && !At(strScriptStart)) {
          blnInTag = true;
          ScanTag();
        } else {
          break;
        }
        taken = true;
        if (intPos + 1 >= strLine.size() || (cycles_ + 1) % kStepsPerYield == 0) break;
        // A tag may begin a meta tag's content or go on past the line, and the table weight
        // may change during the scan.
        if (!InPlainText()) break;
        ++cycles_;
      }
      if (taken) continue;
    }
    if (intTableDepth > 0 && settings_.TableWeight() == 0) {
      if (!SkipTable()) return;
    }
    if (blnSkipToTagEnd) {
      intPos = NextClosingBracket(intPos);
      if (intPos + 1 < strLine.size()) {
        LowerTagDepth();
        ++intPos;
      }
      blnSkipToTagEnd = false;
      blnInTag = false;
    }
    // Every marker begins with "<": elsewhere none of them can be at the position.
    const bool atBracket = intPos < strLine.size() && strLine[intPos] == '<';
    if (atBracket && At(strTableStart)) {
      const int tableWeight = settings_.TableWeight();
      if (tableWeight > 0) {
        ++intTableDepth;
      } else if (tableWeight == 0 && !SkipTable()) {
        return;
      }
    } else if (atBracket && At(strTableEnd) && settings_.TableWeight() > 0) {
      --intTableDepth;
    }
    if (blnInComment || (atBracket && At(strCommentStart))) {
      blnInComment = !SkipPast(strCommentEnd);
      if (blnInComment) return;
      continue;
    }
    if (blnInStyle || (atBracket && At(strStyleStart))) {
      blnInStyle = !SkipPast(strStyleEnd);
      if (blnInStyle) return;
      continue;
    }
    if (blnInScript || (atBracket && At(strScriptStart))) {
      blnInScript = !SkipPast(strScriptEnd);
      if (blnInScript) return;
      continue;
    }
    const char c = intPos < strLine.size() ? strLine[intPos] : ' ';
    if (blnInMetaDescription || blnInMetaKeywords) {
      // Within a meta tag's content no tag begins, and the brackets between the quotes of
      // its value are part of it: the context ends with the tag.
      if (c == '<' || (c == '>' && intPos < metaValueEnd_)) {
        ++intPos;
        continue;
      }
    }
    if (blnInTag || c == '<') {
      blnInTag = true;
      ScanTag();
      continue;
    }
    if (!skipName_.empty()) {
      // Markers stand for the exact bold, title and heading tags.
      switch (c) {
        case kMarkBoldStart:
          SkippedTagSeen("b");
          break;
        case kMarkBoldEnd:
          SkippedTagSeen("/b");
          break;
        case kMarkTitleStart:
          SkippedTagSeen("title");
          break;
        case kMarkTitleEnd:
          SkippedTagSeen("/title");
          break;
        case kMarkHeadingEnd:
          if (skipName_.size() == 2 && skipName_[0] == 'h') SkippedTagSeen("/" + skipName_);
          break;
        default:
          if (c >= kMarkH6 && c <= kMarkH1)
            SkippedTagSeen(std::string{'h', static_cast<char>('7' - c)});
      }
    }
    switch (c) {
      case '>':
        // This is where the content of a description or keywords meta tag ends.
        blnSkipToTagEnd = false;
        blnInMetaDescription = false;
        blnInMetaKeywords = false;
        LowerTagDepth();
        ++intPos;
        continue;
      case kMarkBoldStart:
      case kMarkBoldEnd:
        blnBold = (c == kMarkBoldStart);
        ++intPos;
        continue;
      case kMarkTitleStart:
      case kMarkTitleEnd:
        blnInTitle = (c == kMarkTitleStart);
        labelPossible_ = blnInTitle;
        ++intPos;
        continue;
      case kMarkHeadingEnd:
        intHeadingLevel = 0;
        ++intPos;
        continue;
      default:
        break;
    }
    if (c >= kMarkH6 && c <= kMarkH1) {
      intHeadingLevel = static_cast<unsigned char>(c);
      labelPossible_ = true;
      ++intPos;
    } else if (modern_ && (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)) {
      TakeModernWord();
    } else if (IsLetter(c)) {
      TakeWord();
    } else if (modern_) {
      intPos = PlainAsciiRunEnd(strLine, intPos + 1);
    } else {
      // Blanks, digits and punctuation: the cycles for a run of them only move on, so the run
      // is passed at once (a run ends before anything that a cycle would act upon).
      intPos = PlainRunEnd(strLine, intPos + 1);
    }
  }
}

namespace {

// Where the word that begins within the four bytes at `from` of `line` starts (npos when
// none: a tag or a reference comes first, or only other characters). A word after a tag or a
// reference may be no word of the text at all.
std::size_t WordStartNear(std::string_view line, std::size_t from) {
  const std::size_t gapEnd = std::min(line.size(), from + 4);
  for (std::size_t i = from; i < gapEnd; ++i) {
    const char c = line[i];
    if (c == '<' || c == '&') return npos;
    if (IsLetter(c)) return i;
  }
  return npos;
}

}  // namespace

TagScanner::Upcoming TagScanner::LookAt(std::size_t at) const {
  Upcoming word{at, LetterRunLength(strLine, at)};
  if (!IsShortWord(word.length, settings_)) {
    word.hash = WordTable::StemHash(std::string_view(strLine).substr(at, word.length));
    word.hashed = true;
  }
  return word;
}

void TagScanner::LookAhead(std::size_t end, bool lookedAt) {
  // Worked on in locals: the members are written once, at the end. The word after this one
  // was looked at with the word before, as the one after the next; when this word was that
  // next word, the one after it is known too (or known to be none).
  Upcoming next = afterNext_;
  const std::size_t second = lookedAt ? next.at : WordStartNear(strLine, end);
  if (second == npos) {
    next_ = afterNext_ = Upcoming{};
    return;
  }
  if (next.at != second) {
    next = LookAt(second);
    if (next.hashed) table_.PrefetchStem(next.hash);
  }
  const std::size_t third = WordStartNear(strLine, second + next.length);
  Upcoming afterNext;
  if (third != npos) {
    afterNext = LookAt(third);
    if (afterNext.hashed) table_.PrefetchStem(afterNext.hash);
  }
  next_ = next;
  afterNext_ = afterNext;
}

void TagScanner::LookAheadToLine(std::string_view raw) const {
  if (settings_.ModernMarkup() || !table_.IndexOutgrewCaches()) return;
  // Within the line's beginning only, so that the hint costs little whatever the line: the
  // words are taken as the scan would take them after short tags and blanks.
  constexpr std::size_t kBeginning = 64;
  const std::string_view beginning = raw.substr(0, kBeginning);
  int words = 0;
  for (std::size_t i = 0; i < beginning.size() && words < 2;) {
    const char c = beginning[i];
    if (c == '<') {
      i = beginning.find('>', i);
      if (i == npos) return;
      ++i;
    } else if (c == '&') {
      return;
    } else if (IsLetter(c)) {
      const std::size_t n = LetterRunLength(beginning, i);
      std::array<char, kBeginning> lower;
      for (std::size_t k = 0; k < n; ++k) {
        lower[k] = static_cast<char>(beginning[i + k] | 0x20);  // letters only
      }
      if (n < beginning.size() - i && !IsShortWord(n, settings_)) {
        table_.PrefetchStem(WordTable::StemHash(std::string_view(lower.data(), n)));
      }
      i += n;
      ++words;
    } else {
      ++i;
    }
  }
}

void TagScanner::TakeWord() {
  const bool lookedAt = next_.at == intPos;
  const Upcoming word = lookedAt ? next_ : LookAt(intPos);
  const std::size_t n = word.length;
  if (!skipName_.empty()) {
    intPos += n;
    return;
  }
  if (table_.IndexOutgrewCaches()) {
    LookAhead(intPos + n, lookedAt);
  } else {
    next_ = afterNext_ = Upcoming{};
  }
  if (word.hashed) {
    strWord = std::string_view(strLine).substr(intPos, n);
    const WordOutcome outcome = ProcessLongerWord(strWord, word.hash, table_, settings_, *this);
    if (outcome == WordOutcome::Added) observer_.OnNewWord(strWord, table_.intNumWords());
    if (recorder_ != nullptr && outcome != WordOutcome::Dropped) {
      recorder_->Add(strWord, ContextWeightSplit());
    }
    NoteIfTitleWord(strWord, outcome);
    strWord = {};
  }
  intPos += n;
}

namespace {

// True when `after`, what follows a title's or heading's first word, is a chapter number: a
// blank, digits with dots between them, and a dot or colon that ends it ("Chapter 3. Name",
// "Kapitel 2.1: Name"). A version ("Python 3.12 documentation") is no such number.
bool IsNumberLabel(std::string_view after) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  while (i < after.size() && after[i] == ' ') ++i;
  if (i == 0) return false;
  for (;;) {
    const std::size_t digits = i;
    while (i < after.size() && digit(after[i])) ++i;
    if (i == digits || i == after.size() || (after[i] != '.' && after[i] != ':')) return false;
    ++i;
    if (i == after.size() || !digit(after[i])) return true;
  }
}

}  // namespace

void TagScanner::TakeModernWord() {
  const std::string_view line = strLine;
  std::size_t end = intPos;
  bool ascii = true;
  while (end + 1 < line.size()) {
    if (IsLetter(line[end])) {
      // A run of letters a to z ends before the closing blank.
      end += LetterRunLength(line, end);
      continue;
    }
    if (static_cast<unsigned char>(line[end]) < 0x80) break;
    std::size_t length = 1;
    if (!IsWordCodePoint(DecodeUtf8(line, end, length))) {
      if (end == intPos) {
        intPos += length;  // a character that is no letter: passed over
        return;
      }
      break;
    }
    ascii = false;
    end += length;
  }
  const std::string_view run = line.substr(intPos, end - intPos);
  intPos = end;
  if (!skipName_.empty() || run.empty()) return;
  blocks_.Letters(run.size(), inLink_);
  // The words of code examples do not count; where the prose uses them, they count there.
  EndHeadingSignature();
  if (codeDepth_ > 0 || !signatureName_.empty()) return;
  if (labelPossible_) {
    labelPossible_ = false;
    // The label that documentation generators put before a chapter's number is no word of
    // the chapter's title: "Chapter", "Kapitel", "Глава".
    if ((blnInTitle || intHeadingLevel > 0) && IsNumberLabel(line.substr(end))) return;
  }
  if (ascii) {
    // Lower-cased with the line already.
    CountModernWord(run, run);
    return;
  }
  splitter_.Split(run, [&](std::string_view lower) {
    SpellLatinLetters(lower, spelled_);
    CountModernWord(lower, spelled_);
  });
}

void TagScanner::CountModernWord(std::string_view written, std::string_view word) {
  // The cheap filters first: most common words are short, and the common words of the page's
  // language are asked every time, since an <html lang> may change them. A word that the
  // table holds passed the fixed and configured rules when it was counted.
  // Wide characters count two columns: a word of two Chinese characters is no short word.
  if (IsShortWord(DisplayWidth(word), settings_)) return;
  if (settings_.IgnoreCommonWords() && stopWords_.Contains(written)) return;
  // Titles and headings are never navigation.
  if (blocks_.Holding() && !blnInTitle && intHeadingLevel == 0) {
    blocks_.Hold(written, word, ContextWeight());
    return;
  }
  CountWeighted(word, ContextWeight());
}

namespace {

// The weight of a word counted after its context has passed.
struct FixedWeight final : ContextWeigher {
  explicit FixedWeight(float value) : weight(value) {}
  float ContextWeight() const override { return weight; }
  float weight;
};

}  // namespace

void TagScanner::CountWeighted(std::string_view word, float weight) {
  const FixedWeight weigher(weight);
  std::string_view counted = word;
  const WordOutcome outcome =
      ProcessLongerWord(counted, WordTable::StemHash(counted), table_, settings_, weigher);
  if (outcome == WordOutcome::Added) observer_.OnNewWord(counted, table_.intNumWords());
  NoteIfTitleWord(counted, outcome);
  if (recorder_ != nullptr && outcome != WordOutcome::Dropped) {
    // The split of the context where the word is counted, scaled to the weight it was given
    // (half outside the page's main text; a held word's block has ended by now).
    WeightSplit split = ContextWeightSplit();
    float sum = 0;
    for (const float part : split) sum += part;
    if (sum > 0) {
      for (float& part : split) part *= weight / sum;
    } else {
      split[static_cast<std::size_t>(WeightSource::Body)] = weight;
    }
    recorder_->Add(counted, split);
  }
}

void TagScanner::NoteIfTitleWord(std::string_view word, WordOutcome outcome) {
  if (titleWords_ != nullptr && outcome != WordOutcome::Dropped &&
      (blnInTitle || intHeadingLevel == kMarkH1)) {
    titleWords_->emplace(word);
  }
}

void TagScanner::EndHeadingSignature() {
  // A plain heading's end tag is read by the default steps: the heading's end shows it.
  if (signatureInHeading_ && intHeadingLevel == 0) {
    signatureInHeading_ = false;
    signatureName_.clear();
  }
}

std::size_t TagScanner::ReadTagModern() {
  // The tag's text up to its next bracket on this line (a "<" within a tag ends what is read
  // of it: reading on would read the text of every nested tag again).
  const std::size_t next = NextTagBracket(intPos);
  const std::string_view tag = std::string_view(strLine).substr(intPos, next - intPos);
  if (!skipName_.empty()) {
    SkippedTagSeen(TagName(tag));
    return next;
  }
  ModernTag read = ReadModernTag(tag);
  using Context = ModernTag::Context;
  switch (read.context) {
    case Context::HeadingStart:
      intHeadingLevel = read.headingWeight;
      labelPossible_ = true;
      break;
    case Context::HeadingEnd:
      intHeadingLevel = 0;
      break;
    case Context::BoldStart:
      blnBold = true;
      break;
    case Context::BoldEnd:
      blnBold = false;
      break;
    case Context::TitleStart:
      blnInTitle = true;
      labelPossible_ = true;
      break;
    case Context::TitleEnd:
      blnInTitle = false;
      break;
    case Context::None:
      break;
  }
  if (read.hasLanguage) SetLanguage(read.language);
  using Element = ModernTag::Element;
  const std::int64_t step = read.closing ? -1 : 1;
  switch (read.element) {
    case Element::Code:
      codeDepth_ = std::max<std::int64_t>(codeDepth_ + step, 0);
      break;
    case Element::Main:
      mainDepth_ = std::max<std::int64_t>(mainDepth_ + step, 0);
      break;
    case Element::Furniture:
      // A page's header, footer and asides; an article's own are part of it.
      if (!read.closing && mainDepth_ == 0) read.skipsContent = true;
      break;
    case Element::Link:
      inLink_ = !read.closing;
      if (inLink_) blocks_.Link();
      break;
    case Element::Block:
      if (read.closing) {
        blocks_.Close(read.name);
      } else {
        blocks_.Open(read.name);
      }
      break;
    case Element::Other:
      break;
  }
  // A code signature's words count as code up to the element's end.
  EndHeadingSignature();
  if (!signatureName_.empty() && read.name == signatureName_) {
    signatureDepth_ += read.closing ? -1 : 1;
    if (signatureDepth_ <= 0) signatureName_.clear();
  } else if (read.signature && signatureName_.empty() && !IsVoidElement(read.name)) {
    signatureName_ = read.name;
    signatureDepth_ = 1;
    signatureInHeading_ = read.context == ModernTag::Context::HeadingStart;
  }
  if (read.skipsContent) {
    skipName_ = TagName(tag);
    skipDepth_ = 1;
  }
  return next;
}

void TagScanner::SkippedTagSeen(std::string_view name) {
  if (name.starts_with('/') && name.substr(1) == skipName_) {
    if (--skipDepth_ <= 0) skipName_.clear();
  } else if (name == skipName_) {
    // An element whose end tag may be left out ends at the next of its kind.
    if (HasOptionalEnd(skipName_)) {
      skipName_.clear();
    } else {
      ++skipDepth_;
    }
  }
}

void TagScanner::ScanTag() {
  for (;;) {
    if (intPos >= strLine.size()) return;  // the tag goes on to the next line
    const char c = strLine[intPos];
    if (c == '>') {
      ++intPos;
      if (intTagDepth <= 1) {
        intTagDepth = 0;
        blnInTag = false;
        return;
      }
      --intTagDepth;
      // Brackets nest inside a tag only when they balance out on this line; otherwise the
      // extra "<" was text (a comparison, or a bracket inside an attribute value) and the tag
      // ends here.
      if (!NestedBracketsCloseOnLine(intTagDepth)) {
        intTagDepth = 0;
        blnInTag = false;
        return;
      }
      continue;
    }
    if (c == '<') {
      ++intTagDepth;
      intPos = NextNonBlank(strLine, intPos);
      if (intPos >= strLine.size()) return;
      if (strLine[intPos] == '>') {
        // "<>" and "< >" are text, comparisons mostly: they open nothing and hide nothing.
        ++intPos;
        if (--intTagDepth <= 0) {
          intTagDepth = 0;
          blnInTag = false;
          return;
        }
        continue;
      }
      const std::string_view name = std::string_view(strLine).substr(intPos);
      if (name.starts_with("meta ")) {
        ScanMetaTag();
        blnInTag = false;
        return;
      }
      if (name.starts_with("font ")) {
        ScanFontTag();
        if (blnInTag) continue;
        return;
      }
      if (name.starts_with("/font")) {
        EndFontTag();
        LowerTagDepth();
        blnInTag = false;
        return;
      }
      if (modern_) {
        intPos = ReadTagModern();
        continue;
      }
      ++intPos;
      continue;
    }
    intPos = NextTagBracket(intPos);
  }
}

std::size_t TagScanner::NextTagBracket(std::size_t from) {
  const std::string_view line = strLine;  // a local view stays in registers
  for (;;) {
    // The next ">", unless a "<" or a quotation mark comes before it.
    const std::size_t i = NextTagStop(line, from);
    if (i == line.size() || line[i] == '<' || line[i] == '>') return i;
    // A value in quotes that end on this line holds its brackets: they are part of it.
    const std::size_t end = IsValueQuote(i) ? NextQuote(line[i], i + 1) : line.size();
    from = end < line.size() ? end + 1 : i + 1;
  }
}

bool TagScanner::IsValueQuote(std::size_t at) const {
  std::size_t i = at;
  while (i > 0 && strLine[i - 1] == ' ') --i;
  return i > 0 && strLine[i - 1] == '=';
}

std::size_t TagScanner::NextQuote(char quote, std::size_t from) {
  Memo& memo = quote == '"' ? nextDoubleQuote_ : nextSingleQuote_;
  if (memo.from == npos || from < memo.from || from > memo.found) {
    memo = Memo{from, FindByte(strLine, from, quote)};
  }
  return memo.found;
}

bool TagScanner::NestedBracketsCloseOnLine(std::int64_t depth) {
  if (strLine.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return true;
  }
  return bracketsAhead_.FallsBy(intPos, depth);
}

std::size_t TagScanner::NextClosingBracket(std::size_t from) {
  if (nextBracket_.from != npos && from >= nextBracket_.from && from <= nextBracket_.found) {
    return nextBracket_.found;
  }
  const std::size_t found = FindByte(strLine, from, '>');
  nextBracket_ = Memo{from, found};
  return found;
}

std::size_t TagScanner::FindFrom(Memo& memo, std::size_t from, std::string_view pattern,
                                 bool skipBlanks) {
  // memo.found holds the start of the first occurrence at or after memo.from (npos if none);
  // searches only move forward, so each part of the line is searched about once.
  // The end is remembered too: with blanks between its characters an occurrence can be as
  // long as the line, and every tag before it asks for it again.
  if (memo.from == npos || from < memo.from || (memo.found != npos && memo.found < from)) {
    std::size_t start = npos;
    std::size_t end = npos;
    if (skipBlanks) {
      for (std::size_t s = strLine.find(pattern[0], from); s != npos;
           s = strLine.find(pattern[0], s + 1)) {
        end = MatchIgnoringBlanks(strLine, s, pattern);
        if (end != npos) {
          start = s;
          break;
        }
      }
    } else {
      start = strLine.find(pattern, from);
      if (start != npos) end = start + pattern.size();
    }
    memo = Memo{from, start, end};
  }
  return memo.found == npos ? npos : memo.end;
}

void TagScanner::ScanMetaTag() {
  blnInMetaDescription = false;
  blnInMetaKeywords = false;
  intPos += 5;  // past "meta "
  // The name and content are looked for within this tag only.
  std::size_t tagEnd = NextTagBracket(intPos);
  while (tagEnd < strLine.size() && strLine[tagEnd] == '<') tagEnd = NextTagBracket(tagEnd + 1);
  // Of the occurrences from a position on, the first also ends first: searching the tag alone
  // finds the one that the whole line's first occurrence would be, when it ends in the tag.
  const std::string_view upToTagEnd = std::string_view(strLine).substr(0, tagEnd);
  auto within = [&](std::string_view pattern, bool skipBlanks) {
    return FindIn(upToTagEnd, intPos, pattern, skipBlanks);
  };
  if (within("name=\"description\"", true) != npos) {
    const std::size_t content = within("content", false);
    if (content != npos) {
      intPos = content;
      blnInMetaDescription = true;
    }
  } else if (within("name=\"keywords\"", true) != npos) {
    if (settings_.ExistingKeywordsWeight() > 0) {
      const std::size_t content = within("content", false);
      if (content != npos) {
        intPos = content;
        blnInMetaKeywords = true;
      }
    }
  }
  // The content's words are scanned as text in the meta context up to the tag's ">".
  if (blnInMetaDescription || blnInMetaKeywords) {
    std::size_t value = intPos;
    while (value < strLine.size() && strLine[value] == ' ') ++value;
    if (value < strLine.size() && strLine[value] == '=') {
      value = NextNonBlank(strLine, value);
      if (value < strLine.size() && (strLine[value] == '"' || strLine[value] == '\'')) {
        metaValueEnd_ = NextQuote(strLine[value], value + 1);
      }
    }
    return;
  }
  intPos = tagEnd;
  if (intPos + 1 < strLine.size()) {
    ++intPos;
    LowerTagDepth();
  }
}

void TagScanner::ScanFontTag() {
  intPos += 5;  // past "font "
  const std::size_t tagEnd = NextClosingBracket(intPos);
  blnSkipToTagEnd = true;
  // Every font tag saves the size in force, with or without a size of its own.
  intFontSizeStack.push_back(intFontSize);
  const std::size_t sizeEquals = FindFrom(sizeEquals_, intPos, "size=", true);
  const std::size_t sizeEnd = FindFrom(size_, intPos, "size", false);
  if (sizeEquals != npos && sizeEquals <= tagEnd && sizeEnd != npos && sizeEnd <= tagEnd) {
    intPos = sizeEnd;
    std::size_t at = intPos;
    while (at < tagEnd && !IsSignOrDigit(strLine[at])) ++at;
    if (at < tagEnd) {
      double size;
      if (strLine[at] == '+') {
        size = intFontSize + UnsignedNumber(std::string_view(strLine).substr(at + 1));
      } else if (strLine[at] == '-') {
        size = intFontSize - UnsignedNumber(std::string_view(strLine).substr(at + 1));
      } else {
        size = UnsignedNumber(std::string_view(strLine).substr(at));
      }
      intFontSize = static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(size), 1, 7));
    }
  }
  intPos = NextClosingBracket(intPos);
  if (intPos + 1 < strLine.size()) {
    LowerTagDepth();
    blnSkipToTagEnd = false;
    blnInTag = false;
    ++intPos;
  }
}

void TagScanner::EndFontTag() {
  // A closing font tag with nothing saved leaves the size alone.
  if (!intFontSizeStack.empty()) {
    intFontSize = intFontSizeStack.back();
    intFontSizeStack.pop_back();
  }
  intPos = NextClosingBracket(intPos) + 1;
}

bool TagScanner::SkipPast(std::string_view marker) {
  const std::size_t found = intPos < strLine.size() ? strLine.find(marker, intPos) : npos;
  if (found == npos) {
    intPos = strLine.size();
    return false;
  }
  intPos = found + marker.size();
  return true;
}

bool TagScanner::SkipTable() {
  for (;;) {
    if (At(strTableStart)) {
      ++intTableDepth;
      intPos += strTableStart.size();
    } else if (At(strTableEnd)) {
      --intTableDepth;
      intPos += strTableEnd.size();
      if (intTableDepth <= 0) return true;
    } else {
      // Only a "<" can begin either marker.
      intPos = FindByte(strLine, intPos + 1, '<');
    }
    if (intPos >= strLine.size()) return false;
  }
}

}  // namespace tagwright

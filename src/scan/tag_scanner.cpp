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
constexpr std::string_view kScriptStart = "<script";
constexpr std::string_view kScriptEnd = "</script>";
constexpr std::string_view kStyleStart = "<style";
constexpr std::string_view kStyleEnd = "</style>";
constexpr std::string_view kCommentStart = "<!--";
constexpr std::string_view kCommentEnd = "-->";
constexpr std::string_view kTableStart = "<table";
constexpr std::string_view kTableEnd = "</table>";

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
  line_.clear();
  position_ = 0;
  word_ = {};
  inTag_ = false;
  tagDepth_ = 0;
  skipToTagEnd_ = false;
  inComment_ = false;
  inStyle_ = false;
  inScript_ = false;
  tableDepth_ = 0;
  bold_ = false;
  inTitle_ = false;
  headingLevel_ = 0;
  inMetaDescription_ = false;
  inMetaKeywords_ = false;
  fontSize_ = 3;
  fontSizeStack_.clear();
  openQuote_ = 0;
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
  if (inTitle_) {
    weight = 48;
  } else if (inMetaDescription_) {
    weight = 24;
  } else if (inMetaKeywords_) {
    weight = 4.0f * static_cast<float>(settings_.ExistingKeywordsWeight());
  }
  weight += static_cast<float>(fontSize_ + headingLevel_);
  if (tableDepth_ > 0) weight += static_cast<float>(settings_.TableWeight());
  if (bold_) weight += static_cast<float>(settings_.BoldWeight());
  // The modern reading: on a page with main or article, the text outside them is furniture
  // more often than not.
  if (pageHasMain_ && mainDepth_ == 0 && !inTitle_ && !inMetaDescription_ && !inMetaKeywords_ &&
      modern_) {
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
  const auto size = static_cast<float>(fontSize_);
  if (inTitle_) {
    at(WeightSource::Title) = 48 + size;
  } else if (inMetaDescription_) {
    at(WeightSource::Meta) = 24 + size;
  } else if (inMetaKeywords_) {
    at(WeightSource::Meta) = 4.0f * static_cast<float>(settings_.ExistingKeywordsWeight()) + size;
  } else {
    at(WeightSource::Body) = size;
  }
  at(WeightSource::Headings) = static_cast<float>(headingLevel_);
  if (tableDepth_ > 0) at(WeightSource::Tables) = static_cast<float>(settings_.TableWeight());
  if (bold_) at(WeightSource::Bold) = static_cast<float>(settings_.BoldWeight());
  float total = 0;
  for (const float part : split) total += part;
  if (total < 1.0f) at(WeightSource::Body) += 1.0f - total;
  return split;
}

void TagScanner::LowerTagDepth() {
  // A closing bracket with no tag open is text; the depth never falls below 0.
  if (tagDepth_ > 0) --tagDepth_;
}

void TagScanner::ScanLine(std::string& line) {
  // Borrowed, so that the caller can read the next line into the same buffer.
  line_.swap(line);
  ScanStrLine();
  EndLine();
  line_.swap(line);
}

void TagScanner::ScanStrLine() {
  position_ = 0;
  nextBracket_ = Memo{};
  sizeEquals_ = size_ = Memo{};
  nextDoubleQuote_ = nextSingleQuote_ = Memo{};
  metaTagEnd_ = 0;
  tagStart_ = npos;
  lineEndQuote_ = 0;
  bracketsAhead_.Reset(line_);
  next_ = afterNext_ = Upcoming{};
  modern_ = settings_.ModernMarkup();
  ContinueOpenTag();

  // The last character is the closing blank: the line is done when the position reaches it.
  while (position_ + 1 < line_.size()) {
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
        const char c = line_[position_];
        if (modern && (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)) {
          TakeModernWord();
        } else if (IsLetter(c)) {
          TakeWord();
        } else if (IsPlainCharacter(c)) {
          position_ =
              modern ? PlainAsciiRunEnd(line_, position_ + 1) : PlainRunEnd(line_, position_ + 1);
        } else if (c == '<' && !At(kTableStart) && !At(kTableEnd) && !At(kCommentStart) &&
                   !At(kStyleStart) && !At(kScriptStart)) {
          inTag_ = true;
          ScanTag();
        } else {
          break;
        }
        taken = true;
        if (position_ + 1 >= line_.size() || (cycles_ + 1) % kStepsPerYield == 0) break;
        // A tag may begin a meta tag's content or go on past the line, and the table weight
        // may change during the scan.
        if (!InPlainText()) break;
        ++cycles_;
      }
      if (taken) continue;
    }
    if (tableDepth_ > 0 && settings_.TableWeight() == 0) {
      if (!SkipTable()) return;
    }
    if (skipToTagEnd_) {
      position_ = TagEnd(position_);
      if (position_ + 1 < line_.size()) {
        LowerTagDepth();
        ++position_;
      }
      skipToTagEnd_ = false;
      inTag_ = false;
    }
    // Every marker begins with "<": elsewhere none of them can be at the position.
    const bool atBracket = position_ < line_.size() && line_[position_] == '<';
    if (atBracket && At(kTableStart)) {
      const int tableWeight = settings_.TableWeight();
      if (tableWeight > 0) {
        ++tableDepth_;
      } else if (tableWeight == 0 && !SkipTable()) {
        return;
      }
    } else if (atBracket && At(kTableEnd) && settings_.TableWeight() > 0) {
      --tableDepth_;
    }
    if (inComment_ || (atBracket && At(kCommentStart))) {
      inComment_ = !SkipPast(kCommentEnd);
      if (inComment_) return;
      continue;
    }
    if (inStyle_ || (atBracket && At(kStyleStart))) {
      inStyle_ = !SkipPast(kStyleEnd);
      if (inStyle_) return;
      continue;
    }
    if (inScript_ || (atBracket && At(kScriptStart))) {
      inScript_ = !SkipPast(kScriptEnd);
      if (inScript_) return;
      continue;
    }
    const char c = position_ < line_.size() ? line_[position_] : ' ';
    if (inMetaDescription_ || inMetaKeywords_) {
      // Within a meta tag's content no tag begins, and the brackets between the quotes of
      // its value are part of it: the context ends with the tag.
      if (c == '<' || (c == '>' && position_ < metaTagEnd_)) {
        ++position_;
        continue;
      }
    }
    if (inTag_ || c == '<') {
      inTag_ = true;
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
        skipToTagEnd_ = false;
        inMetaDescription_ = false;
        inMetaKeywords_ = false;
        LowerTagDepth();
        ++position_;
        continue;
      case kMarkBoldStart:
      case kMarkBoldEnd:
        bold_ = (c == kMarkBoldStart);
        ++position_;
        continue;
      case kMarkTitleStart:
      case kMarkTitleEnd:
        inTitle_ = (c == kMarkTitleStart);
        labelPossible_ = inTitle_;
        ++position_;
        continue;
      case kMarkHeadingEnd:
        headingLevel_ = 0;
        ++position_;
        continue;
      default:
        break;
    }
    if (c >= kMarkH6 && c <= kMarkH1) {
      headingLevel_ = static_cast<unsigned char>(c);
      labelPossible_ = true;
      ++position_;
    } else if (modern_ && (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)) {
      TakeModernWord();
    } else if (IsLetter(c)) {
      TakeWord();
    } else if (modern_) {
      position_ = PlainAsciiRunEnd(line_, position_ + 1);
    } else {
      // Blanks, digits and punctuation: the cycles for a run of them only move on, so the run
      // is passed at once (a run ends before anything that a cycle would act upon).
      position_ = PlainRunEnd(line_, position_ + 1);
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
  Upcoming word{at, LetterRunLength(line_, at)};
  if (!IsShortWord(word.length, settings_)) {
    word.hash = WordTable::StemHash(std::string_view(line_).substr(at, word.length));
    word.hashed = true;
  }
  return word;
}

void TagScanner::LookAhead(std::size_t end, bool lookedAt) {
  // Worked on in locals: the members are written once, at the end. The word after this one
  // was looked at with the word before, as the one after the next; when this word was that
  // next word, the one after it is known too (or known to be none).
  Upcoming next = afterNext_;
  const std::size_t second = lookedAt ? next.at : WordStartNear(line_, end);
  if (second == npos) {
    next_ = afterNext_ = Upcoming{};
    return;
  }
  if (next.at != second) {
    next = LookAt(second);
    if (next.hashed) table_.PrefetchStem(next.hash);
  }
  const std::size_t third = WordStartNear(line_, second + next.length);
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
  const bool lookedAt = next_.at == position_;
  const Upcoming word = lookedAt ? next_ : LookAt(position_);
  const std::size_t n = word.length;
  if (!skipName_.empty()) {
    position_ += n;
    return;
  }
  if (table_.IndexOutgrewCaches()) {
    LookAhead(position_ + n, lookedAt);
  } else {
    next_ = afterNext_ = Upcoming{};
  }
  if (word.hashed) {
    word_ = std::string_view(line_).substr(position_, n);
    const WordOutcome outcome = ProcessLongerWord(word_, word.hash, table_, settings_, *this);
    if (outcome == WordOutcome::Added) observer_.OnNewWord(word_, table_.WordCount());
    if (recorder_ != nullptr && outcome != WordOutcome::Dropped) {
      recorder_->Add(word_, ContextWeightSplit());
    }
    NoteIfTitleWord(word_, outcome);
    word_ = {};
  }
  position_ += n;
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
  const std::string_view line = line_;
  std::size_t end = position_;
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
      if (end == position_) {
        position_ += length;  // a character that is no letter: passed over
        return;
      }
      break;
    }
    ascii = false;
    end += length;
  }
  const std::string_view run = line.substr(position_, end - position_);
  position_ = end;
  if (!skipName_.empty() || run.empty()) return;
  blocks_.Letters(run.size(), inLink_);
  // The words of code examples do not count; where the prose uses them, they count there.
  EndHeadingSignature();
  if (codeDepth_ > 0 || !signatureName_.empty()) return;
  if (labelPossible_) {
    labelPossible_ = false;
    // The label that documentation generators put before a chapter's number is no word of
    // the chapter's title: "Chapter", "Kapitel", "Глава".
    if ((inTitle_ || headingLevel_ > 0) && IsNumberLabel(line.substr(end))) return;
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
  if (blocks_.Holding() && !inTitle_ && headingLevel_ == 0) {
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
  if (outcome == WordOutcome::Added) observer_.OnNewWord(counted, table_.WordCount());
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
      (inTitle_ || headingLevel_ == kMarkH1)) {
    titleWords_->emplace(word);
  }
}

void TagScanner::EndHeadingSignature() {
  // A plain heading's end tag is read by the default steps: the heading's end shows it.
  if (signatureInHeading_ && headingLevel_ == 0) {
    signatureInHeading_ = false;
    signatureName_.clear();
  }
}

std::size_t TagScanner::ReadTagModern() {
  // The tag's text up to its next bracket on this line (a "<" within a tag ends what is read
  // of it: reading on would read the text of every nested tag again).
  const std::size_t next = NextTagBracket(position_);
  const std::string_view tag = std::string_view(line_).substr(position_, next - position_);
  if (!skipName_.empty()) {
    SkippedTagSeen(TagName(tag));
    return next;
  }
  ModernTag read = ReadModernTag(tag);
  using Context = ModernTag::Context;
  switch (read.context) {
    case Context::HeadingStart:
      headingLevel_ = read.headingWeight;
      labelPossible_ = true;
      break;
    case Context::HeadingEnd:
      headingLevel_ = 0;
      break;
    case Context::BoldStart:
      bold_ = true;
      break;
    case Context::BoldEnd:
      bold_ = false;
      break;
    case Context::TitleStart:
      inTitle_ = true;
      labelPossible_ = true;
      break;
    case Context::TitleEnd:
      inTitle_ = false;
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
    if (position_ >= line_.size()) return;  // the tag goes on to the next line
    const char c = line_[position_];
    if (c == '>') {
      ++position_;
      if (tagDepth_ <= 1) {
        tagDepth_ = 0;
        inTag_ = false;
        return;
      }
      --tagDepth_;
      // Brackets nest inside a tag only when they balance out on this line; otherwise the
      // extra "<" was text (a comparison, or a bracket inside an attribute value) and the tag
      // ends here.
      if (!NestedBracketsCloseOnLine(tagDepth_)) {
        tagDepth_ = 0;
        inTag_ = false;
        return;
      }
      continue;
    }
    if (c == '<') {
      if (tagDepth_ == 0) tagStart_ = position_;
      ++tagDepth_;
      position_ = NextNonBlank(line_, position_);
      if (position_ >= line_.size()) return;
      if (line_[position_] == '>') {
        // "<>" and "< >" are text, comparisons mostly: they open nothing and hide nothing.
        ++position_;
        if (--tagDepth_ <= 0) {
          tagDepth_ = 0;
          inTag_ = false;
          return;
        }
        continue;
      }
      const std::string_view name = std::string_view(line_).substr(position_);
      if (name.starts_with("meta ")) {
        ScanMetaTag();
        inTag_ = false;
        return;
      }
      if (name.starts_with("font ")) {
        ScanFontTag();
        if (inTag_) continue;
        return;
      }
      if (name.starts_with("/font")) {
        EndFontTag();
        LowerTagDepth();
        inTag_ = false;
        return;
      }
      if (modern_) {
        position_ = ReadTagModern();
        continue;
      }
      ++position_;
      continue;
    }
    position_ = NextTagBracket(position_);
  }
}

std::size_t TagScanner::NextTagBracket(std::size_t from) {
  const std::string_view line = line_;  // a local view stays in registers
  for (;;) {
    // The next ">", unless a "<" or a quotation mark comes before it.
    const std::size_t i = NextTagStop(line, from);
    if (i == line.size() || line[i] == '<' || line[i] == '>') return i;
    // A value in quotes that end on this line holds its brackets: they are part of it.
    if (IsValueQuote(i)) {
      const std::size_t end = NextQuote(line[i], i + 1);
      if (end < line.size()) {
        from = end + 1;
        continue;
      }
      // Quotes open to the line's end hold the rest of it when no ">" follows: the value goes
      // on to the next line (otherwise they were a stray quotation mark).
      if (NextClosingBracket(i + 1) == line.size()) {
        lineEndQuote_ = line[i];
        return line.size();
      }
    }
    from = i + 1;
  }
}

std::size_t TagScanner::TagEnd(std::size_t from) {
  std::size_t end = NextTagBracket(from);
  while (end < line_.size() && line_[end] == '<') end = NextTagBracket(end + 1);
  return end;
}

namespace {

bool IsMarker(char c) {
  return (c >= kMarkH6 && c <= kMarkHeadingEnd) || c == kMarkBoldStart || c == kMarkBoldEnd ||
         c == kMarkTitleStart || c == kMarkTitleEnd;
}

}  // namespace

void TagScanner::ContinueOpenTag() {
  const bool inMeta = inMetaDescription_ || inMetaKeywords_;
  if (openQuote_ != 0) {
    const std::size_t close = FindByte(line_, 0, openQuote_);
    if (close == line_.size()) {
      // The whole line lies within the value.
      lineEndQuote_ = openQuote_;
      if (inMeta) {
        metaTagEnd_ = line_.size();
      } else {
        position_ = line_.size();
      }
      return;
    }
    openQuote_ = 0;
    if (!inMeta) {
      position_ = close + 1;
      return;
    }
    metaTagEnd_ = TagEnd(close + 1);
    return;
  }
  if (inMeta) metaTagEnd_ = TagEnd(0);
}

void TagScanner::EndLine() {
  openQuote_ = 0;
  if (tagStart_ != npos && (inTag_ || skipToTagEnd_)) {
    // A tag begun on this line goes on to the next only when a name follows its "<" and no
    // marker stands in it outside its attribute values (a marker is a whole tag of its own):
    // otherwise the "<" was text, and it hides nothing beyond its line.
    const std::string_view line = line_;
    const char first = tagStart_ + 1 < line.size() ? line[tagStart_ + 1] : ' ';
    bool stray = !(IsLetter(first) || first == '/' || first == '!' || first == '?');
    for (std::size_t i = tagStart_ + 1; i < line.size() && !stray; ++i) {
      const char c = line[i];
      if ((c == '"' || c == '\'') && IsValueQuote(i)) {
        i = FindByte(line, i + 1, c);  // to the value's end, or the line's when it goes on
      } else {
        stray = IsMarker(c);
      }
    }
    if (stray) {
      inTag_ = false;
      skipToTagEnd_ = false;
      tagDepth_ = 0;
      return;
    }
  }
  if (inTag_ || skipToTagEnd_ || inMetaDescription_ || inMetaKeywords_) openQuote_ = lineEndQuote_;
}

bool TagScanner::IsValueQuote(std::size_t at) const {
  std::size_t i = at;
  while (i > 0 && line_[i - 1] == ' ') --i;
  return i > 0 && line_[i - 1] == '=';
}

std::size_t TagScanner::NextQuote(char quote, std::size_t from) {
  Memo& memo = quote == '"' ? nextDoubleQuote_ : nextSingleQuote_;
  if (memo.from == npos || from < memo.from || from > memo.found) {
    memo = Memo{from, FindByte(line_, from, quote)};
  }
  return memo.found;
}

bool TagScanner::NestedBracketsCloseOnLine(std::int64_t depth) {
  if (line_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return true;
  }
  return bracketsAhead_.FallsBy(position_, depth);
}

std::size_t TagScanner::NextClosingBracket(std::size_t from) {
  if (nextBracket_.from != npos && from >= nextBracket_.from && from <= nextBracket_.found) {
    return nextBracket_.found;
  }
  const std::size_t found = FindByte(line_, from, '>');
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
      for (std::size_t s = line_.find(pattern[0], from); s != npos;
           s = line_.find(pattern[0], s + 1)) {
        end = MatchIgnoringBlanks(line_, s, pattern);
        if (end != npos) {
          start = s;
          break;
        }
      }
    } else {
      start = line_.find(pattern, from);
      if (start != npos) end = start + pattern.size();
    }
    memo = Memo{from, start, end};
  }
  return memo.found == npos ? npos : memo.end;
}

void TagScanner::ScanMetaTag() {
  inMetaDescription_ = false;
  inMetaKeywords_ = false;
  position_ += 5;  // past "meta "
  // The name and content are looked for within this tag only.
  const std::size_t tagEnd = TagEnd(position_);
  // Of the occurrences from a position on, the first also ends first: searching the tag alone
  // finds the one that the whole line's first occurrence would be, when it ends in the tag.
  const std::string_view upToTagEnd = std::string_view(line_).substr(0, tagEnd);
  auto within = [&](std::string_view pattern, bool skipBlanks) {
    return FindIn(upToTagEnd, position_, pattern, skipBlanks);
  };
  if (within("name=\"description\"", true) != npos) {
    const std::size_t content = within("content", false);
    if (content != npos) {
      position_ = content;
      inMetaDescription_ = true;
    }
  } else if (within("name=\"keywords\"", true) != npos) {
    if (settings_.ExistingKeywordsWeight() > 0) {
      const std::size_t content = within("content", false);
      if (content != npos) {
        position_ = content;
        inMetaKeywords_ = true;
      }
    }
  }
  // The content's words are scanned as text in the meta context up to the tag's ">".
  if (inMetaDescription_ || inMetaKeywords_) {
    metaTagEnd_ = tagEnd;
    std::size_t value = position_;
    while (value < line_.size() && line_[value] == ' ') ++value;
    if (value < line_.size() && line_[value] == '=') {
      value = NextNonBlank(line_, value);
      if (value < line_.size() && (line_[value] == '"' || line_[value] == '\'') &&
          NextQuote(line_[value], value + 1) == line_.size()) {
        // The content goes on to the next line: every bracket left on this one is part of it.
        metaTagEnd_ = line_.size();
        lineEndQuote_ = line_[value];
      }
    }
    return;
  }
  position_ = tagEnd;
  if (position_ + 1 < line_.size()) {
    ++position_;
    LowerTagDepth();
  }
}

void TagScanner::ScanFontTag() {
  position_ += 5;  // past "font "
  const std::size_t tagEnd = TagEnd(position_);
  skipToTagEnd_ = true;
  // Every font tag saves the size in force, with or without a size of its own.
  fontSizeStack_.push_back(fontSize_);
  const std::size_t sizeEquals = FindFrom(sizeEquals_, position_, "size=", true);
  const std::size_t sizeEnd = FindFrom(size_, position_, "size", false);
  if (sizeEquals != npos && sizeEquals <= tagEnd && sizeEnd != npos && sizeEnd <= tagEnd) {
    position_ = sizeEnd;
    std::size_t at = position_;
    while (at < tagEnd && !IsSignOrDigit(line_[at])) ++at;
    if (at < tagEnd) {
      double size;
      if (line_[at] == '+') {
        size = fontSize_ + UnsignedNumber(std::string_view(line_).substr(at + 1));
      } else if (line_[at] == '-') {
        size = fontSize_ - UnsignedNumber(std::string_view(line_).substr(at + 1));
      } else {
        size = UnsignedNumber(std::string_view(line_).substr(at));
      }
      fontSize_ = static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(size), 1, 7));
    }
  }
  position_ = tagEnd;
  if (position_ + 1 < line_.size()) {
    LowerTagDepth();
    skipToTagEnd_ = false;
    inTag_ = false;
    ++position_;
  }
}

void TagScanner::EndFontTag() {
  // A closing font tag with nothing saved leaves the size alone.
  if (!fontSizeStack_.empty()) {
    fontSize_ = fontSizeStack_.back();
    fontSizeStack_.pop_back();
  }
  position_ = NextClosingBracket(position_) + 1;
}

bool TagScanner::SkipPast(std::string_view marker) {
  const std::size_t found = position_ < line_.size() ? line_.find(marker, position_) : npos;
  if (found == npos) {
    position_ = line_.size();
    return false;
  }
  position_ = found + marker.size();
  return true;
}

bool TagScanner::SkipTable() {
  for (;;) {
    if (At(kTableStart)) {
      ++tableDepth_;
      position_ += kTableStart.size();
    } else if (At(kTableEnd)) {
      --tableDepth_;
      position_ += kTableEnd.size();
      if (tableDepth_ <= 0) return true;
    } else {
      // Only a "<" can begin either marker.
      position_ = FindByte(line_, position_ + 1, '<');
    }
    if (position_ >= line_.size()) return false;
  }
}

}  // namespace tagwright

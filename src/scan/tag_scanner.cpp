#include "scan/tag_scanner.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

#include "scan/markup_encoding.h"
#include "util/byte_search.h"
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

// Where an occurrence of `pattern` starts and ends (npos for both when there is none).
struct Found {
  std::size_t start = npos;
  std::size_t end = npos;
};

// The first occurrence of `pattern` in `text` at or after `from`, blanks between its
// characters ignored when `skipBlanks`.
Found FindPattern(std::string_view text, std::size_t from, std::string_view pattern,
                  bool skipBlanks) {
  if (!skipBlanks) {
    const std::size_t start = text.find(pattern, from);
    return start == npos ? Found{} : Found{start, start + pattern.size()};
  }
  for (std::size_t s = text.find(pattern[0], from); s != npos; s = text.find(pattern[0], s + 1)) {
    const std::size_t end = MatchIgnoringBlanks(text, s, pattern);
    if (end != npos) return {s, end};
  }
  return {};
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
  context_.Reset();
  inStyle_ = false;
  inScript_ = false;
  openQuote_ = 0;
  stopWords_ = StopWords();
  skipName_.clear();
  skipDepth_ = 0;
  labelPossible_ = false;
  codeDepth_ = 0;
  signatureName_.clear();
  signatureDepth_ = 0;
  signatureInHeading_ = false;
  inLink_ = false;
  blocks_.Reset();
  stemmer_.SetLanguage({});
}

float TagScanner::ContextWeight() const { return context_.Weight(settings_, modern_); }

WeightSplit TagScanner::ContextWeightSplit() const { return context_.Split(settings_); }

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
  // The reading is chosen once a line: each has a loop of its own.
  if (modern_) {
    ScanText<ModernReading>();
  } else {
    ScanText<ClassicReading>();
  }
}

template <class Reading>
void TagScanner::ScanText() {
  // The last character is the closing blank: the line is done when the position reaches it.
  while (position_ + 1 < line_.size()) {
    if (++cycles_ % kStepsPerYield == 0) {
      observer_.OnYield();
      // Stop takes effect here, not only at the line's end: a line may be megabytes long.
      if (observer_.StopRequested()) return;
    }
    // Most cycles take a word, pass other characters or read a tag in the text outside any
    // tag, comment, script, style, meta tag or skipped table: they are told apart first.
    if (InPlainText() && TakeTextRun<Reading>()) continue;
    const Region region = PassRegions();
    if (region == Region::LineDone) return;
    if (region == Region::Passed) continue;
    const char c = position_ < line_.size() ? line_[position_] : ' ';
    if (context_.InMeta() && (c == '<' || (c == '>' && position_ < metaTagEnd_))) {
      // Within a meta tag's content no tag begins, and the brackets between the quotes of
      // its value are part of it: the context ends with the tag.
      ++position_;
    } else if (inTag_ || c == '<') {
      inTag_ = true;
      ScanTag();
    } else if (!TakeMarker(c)) {
      TakeText<Reading>(c);
    }
  }
}

template <class Reading>
bool TagScanner::TakeTextRun() {
  // Words and the characters between them change none of the contexts, nor do most tags:
  // they are taken one after the other until something else comes, each a cycle of its own,
  // just as the steps of the main loop would take them.
  bool taken = false;
  for (;;) {
    const char c = line_[position_];
    if (Reading::kModern && (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)) {
      TakeModernWord();
    } else if (IsLetter(c)) {
      TakeWord();
    } else if (IsPlainCharacter(c)) {
      position_ = Reading::kModern ? PlainAsciiRunEnd(line_, position_ + 1)
                                   : PlainRunEnd(line_, position_ + 1);
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
  return taken;
}

TagScanner::Region TagScanner::PassRegions() {
  if (context_.tableDepth > 0 && settings_.TableWeight() == 0) {
    if (!SkipTable()) return Region::LineDone;
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
      ++context_.tableDepth;
    } else if (tableWeight == 0 && !SkipTable()) {
      return Region::LineDone;
    }
  } else if (atBracket && At(kTableEnd) && settings_.TableWeight() > 0) {
    --context_.tableDepth;
  }
  // A comment, style or script that does not end on the line takes the rest of it.
  const auto pass = [&](bool& inside, std::string_view start, std::string_view end) {
    if (!inside && !(atBracket && At(start))) return Region::None;
    inside = !SkipPast(end);
    return inside ? Region::LineDone : Region::Passed;
  };
  Region region = pass(inComment_, kCommentStart, kCommentEnd);
  if (region == Region::None) region = pass(inStyle_, kStyleStart, kStyleEnd);
  if (region == Region::None) region = pass(inScript_, kScriptStart, kScriptEnd);
  return region;
}

bool TagScanner::TakeMarker(char c) {
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
      context_.metaDescription = false;
      context_.metaKeywords = false;
      LowerTagDepth();
      break;
    case kMarkBoldStart:
    case kMarkBoldEnd:
      context_.bold = (c == kMarkBoldStart);
      break;
    case kMarkTitleStart:
    case kMarkTitleEnd:
      context_.title = (c == kMarkTitleStart);
      labelPossible_ = context_.title;
      break;
    case kMarkHeadingEnd:
      context_.headingLevel = 0;
      break;
    default:
      if (c < kMarkH6 || c > kMarkH1) return false;
      context_.headingLevel = static_cast<unsigned char>(c);
      labelPossible_ = true;
  }
  ++position_;
  return true;
}

template <class Reading>
void TagScanner::TakeText(char c) {
  if (Reading::kModern && (IsLetter(c) || static_cast<unsigned char>(c) >= 0x80)) {
    TakeModernWord();
  } else if (IsLetter(c)) {
    TakeWord();
  } else if (Reading::kModern) {
    position_ = PlainAsciiRunEnd(line_, position_ + 1);
  } else {
    // Blanks, digits and punctuation: the cycles for a run of them only move on, so the run
    // is passed at once (a run ends before anything that a cycle would act upon).
    position_ = PlainRunEnd(line_, position_ + 1);
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
      (context_.title || context_.headingLevel == kMarkH1)) {
    titleWords_->emplace(word);
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
  const bool inMeta = context_.metaDescription || context_.metaKeywords;
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
  if (inTag_ || skipToTagEnd_ || context_.metaDescription || context_.metaKeywords)
    openQuote_ = lineEndQuote_;
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
    const Found found = FindPattern(line_, from, pattern, skipBlanks);
    memo = Memo{from, found.start, found.end};
  }
  return memo.found == npos ? npos : memo.end;
}

void TagScanner::ScanMetaTag() {
  context_.metaDescription = false;
  context_.metaKeywords = false;
  position_ += 5;  // past "meta "
  // The name and content are looked for within this tag only.
  const std::size_t tagEnd = TagEnd(position_);
  // Of the occurrences from a position on, the first also ends first: searching the tag alone
  // finds the one that the whole line's first occurrence would be, when it ends in the tag.
  const std::string_view upToTagEnd = std::string_view(line_).substr(0, tagEnd);
  auto within = [&](std::string_view pattern, bool skipBlanks) {
    return FindPattern(upToTagEnd, position_, pattern, skipBlanks).end;
  };
  if (within("name=\"description\"", true) != npos) {
    const std::size_t content = within("content", false);
    if (content != npos) {
      position_ = content;
      context_.metaDescription = true;
    }
  } else if (within("name=\"keywords\"", true) != npos) {
    if (settings_.ExistingKeywordsWeight() > 0) {
      const std::size_t content = within("content", false);
      if (content != npos) {
        position_ = content;
        context_.metaKeywords = true;
      }
    }
  }
  // The content's words are scanned as text in the meta context up to the tag's ">".
  if (context_.metaDescription || context_.metaKeywords) {
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
  context_.OpenFont();
  const std::size_t sizeEquals = FindFrom(sizeEquals_, position_, "size=", true);
  const std::size_t sizeEnd = FindFrom(size_, position_, "size", false);
  if (sizeEquals != npos && sizeEquals <= tagEnd && sizeEnd != npos && sizeEnd <= tagEnd) {
    position_ = sizeEnd;
    std::size_t at = position_;
    while (at < tagEnd && !IsSignOrDigit(line_[at])) ++at;
    if (at < tagEnd) {
      double size;
      if (line_[at] == '+') {
        size = context_.fontSize + UnsignedNumber(std::string_view(line_).substr(at + 1));
      } else if (line_[at] == '-') {
        size = context_.fontSize - UnsignedNumber(std::string_view(line_).substr(at + 1));
      } else {
        size = UnsignedNumber(std::string_view(line_).substr(at));
      }
      context_.fontSize = static_cast<int>(std::clamp<std::int64_t>(RoundHalfEven(size), 1, 7));
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
  context_.CloseFont();
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
      ++context_.tableDepth;
      position_ += kTableStart.size();
    } else if (At(kTableEnd)) {
      --context_.tableDepth;
      position_ += kTableEnd.size();
      if (context_.tableDepth <= 0) return true;
    } else {
      // Only a "<" can begin either marker.
      position_ = FindByte(line_, position_ + 1, '<');
    }
    if (position_ >= line_.size()) return false;
  }
}

}  // namespace tagwright

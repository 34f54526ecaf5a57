// The modern reading's steps: its word step (letters of any script, split into words, the
// labels of numbered chapters dropped) and its reading of tags (contexts, skipped content,
// code, the page's main text, links and blocks for the link density).
#include <algorithm>
#include <string>

#include "scan/markup_encoding.h"
#include "scan/modern_reading.h"
#include "scan/tag_scanner.h"
#include "util/str_proc.h"
#include "util/unicode_text.h"
#include "words/stop_words.h"

namespace tagwright {

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
    if ((context_.title || context_.headingLevel > 0) && IsNumberLabel(line.substr(end))) return;
  }
  if (ascii) {
    // Lower-cased with the line already.
    CountModernWord(run, run, true);
    return;
  }
  splitter_.Split(run, [&](std::string_view lower) {
    SpellLatinLetters(lower, spelled_);
    CountModernWord(lower, spelled_, false);
  });
}

bool TagScanner::IsShortModernWord(std::string_view word, bool ascii) const {
  // Wide characters count two columns: a word of two Chinese characters is no short word.
  if (!settings_.IgnoreShortWords() || settings_.ShortWordSize() < 0) return false;
  // A word of ASCII letters takes a column a letter.
  const auto limit = static_cast<std::size_t>(settings_.ShortWordSize());
  return (ascii ? word.size() : DisplayWidthUpTo(word, limit)) <= limit;
}

void TagScanner::CountHeld(std::string_view /*written*/, std::string_view word, float weight) {
  // The settings may have changed since the word was held (a user changing them during a
  // scan): it is counted as the settings are now, the short words' too. The common words are
  // those of the page's language where the word stood.
  if (!IsShortModernWord(word, false)) CountWeighted(word, weight);
}

void TagScanner::CountModernWord(std::string_view written, std::string_view word, bool ascii) {
  // The cheap filters first: most common words are short, and the common words of the page's
  // language are asked every time, since an <html lang> may change them. A word that the
  // table holds passed the fixed and configured rules when it was counted.
  if (IsShortModernWord(word, ascii)) return;
  if (settings_.IgnoreCommonWords() && stopWords_.Contains(written)) return;
  // Titles and headings are never navigation.
  if (blocks_.Holding() && !context_.title && context_.headingLevel == 0) {
    blocks_.Hold(written, word, ContextWeight());
    return;
  }
  CountWeighted(word, ContextWeight());
}

void TagScanner::EndHeadingSignature() {
  // A plain heading's end tag is read by the default steps: the heading's end shows it.
  if (signatureInHeading_ && context_.headingLevel == 0) {
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
      context_.headingLevel = read.headingWeight;
      labelPossible_ = true;
      break;
    case Context::HeadingEnd:
      context_.headingLevel = 0;
      break;
    case Context::BoldStart:
      context_.bold = true;
      break;
    case Context::BoldEnd:
      context_.bold = false;
      break;
    case Context::TitleStart:
      context_.title = true;
      labelPossible_ = true;
      break;
    case Context::TitleEnd:
      context_.title = false;
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
      context_.mainDepth = std::max<std::int64_t>(context_.mainDepth + step, 0);
      break;
    case Element::Furniture:
      // A page's header, footer and asides; an article's own are part of it.
      if (!read.closing && context_.mainDepth == 0) read.skipsContent = true;
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

}  // namespace tagwright

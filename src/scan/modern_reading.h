#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/utf8_text.h"

struct UBreakIterator;
struct UText;

namespace tagwright {

/// What the modern reading takes from one tag: the text from its name to its end.
struct ModernTag {
  enum class Context { None, HeadingStart, HeadingEnd, BoldStart, BoldEnd, TitleStart, TitleEnd };
  Context context = Context::None;
  /// What the element is to the rules for code and page furniture.
  enum class Element {
    Other,
    Code,       // pre, code, kbd, samp, var, tt: examples, whose words do not count
    Main,       // main, article: the page's own text
    Furniture,  // header, footer, aside: skipped unless inside main or article
    Link,       // a with href
    Block,      // ul, ol, dl, li, dd, dt, td, th, div, p: judged by their link density
  };
  Element element = Element::Other;
  bool closing = false;
  /// The element holds a code signature, as documentation generators mark them by class
  /// (code-header, fn, memproto, memname, memitemleft; the scan sees tags lower-cased): its words
  /// count as code.
  bool signature = false;
  /// The element's name without "/" (a view into the tag).
  std::string_view name;
  int headingWeight = 0;  // for HeadingStart: 6 for h1 down to 1 for h6
  /// The element's content is no page text (svg, template, noscript, hidden, navigation):
  /// skipped up to the element's end tag.
  bool skipsContent = false;
  /// The value of an html tag's lang attribute (lower-cased), when it has one.
  std::string language;
  bool hasLanguage = false;
};

/// The tag name at the start of `tag` (after the "<"), with a leading "/" for an end tag.
std::string_view TagName(std::string_view tag);

/// Reads a lower-cased tag from its name up to (not including) its ">".
ModernTag ReadModernTag(std::string_view tag);

/// True when `head`, the beginning of a page as read, holds a main or article element: the
/// modern reading then weighs the text outside them at half.
bool HasMainElement(std::string_view head);

/// True for the elements that have no end tag (img, br, input, ...).
bool IsVoidElement(std::string_view name);
/// True for the elements whose end tag may be left out: the next tag of the same name ends them.
bool HasOptionalEnd(std::string_view name);

/// True for a code point that belongs to a word: a letter of any script or a combining mark.
bool IsWordCodePoint(char32_t c);

/// Splits runs of letters into words, with ICU's word-break rules for scripts written without
/// blanks (Chinese, Japanese, Thai, ...), and gives each word lower-cased.
class WordSplitter {
 public:
  WordSplitter() = default;
  ~WordSplitter();
  WordSplitter(const WordSplitter&) = delete;
  WordSplitter& operator=(const WordSplitter&) = delete;

  /// Calls `take(word)` for each word of `run` (a run of word code points in UTF-8), lower-cased
  /// by Unicode's rules; the view is valid during the call.
  template <typename Take>
  void Split(std::string_view run, Take&& take) {
    if (!NeedsBreaking(run)) {
      take(std::string_view(Lowered(run)));
      return;
    }
    BreakInto(run);
    for (std::size_t k = 0; k + 1 < breaks_.size(); ++k) {
      take(std::string_view(Lowered(run.substr(breaks_[k], breaks_[k + 1] - breaks_[k]))));
    }
  }

 private:
  static bool NeedsBreaking(std::string_view run);
  const std::string& Lowered(std::string_view word);
  void BreakInto(std::string_view run);
  void BreakWithDictionary(std::string_view run);

  /// Hashes a remembered run by its text, so a view finds it without a copy.
  struct RunHash {
    using is_transparent = void;
    // Not noexcept, so the table keeps each hash beside its run and never hashes a run again.
    std::size_t operator()(std::string_view run) const {
      return std::hash<std::string_view>{}(run);
    }
  };

  std::string lowered_;
  std::vector<std::size_t> breaks_;
  // The breaks of runs already split: dictionary breaking costs far more than a lookup, and
  // the short runs of a page (a term, a particle between two Latin words) come back often.
  // Bounded by the bytes of the runs it holds; emptied when full.
  std::unordered_map<std::string, std::vector<std::size_t>, RunHash, std::equal_to<>> remembered_;
  std::size_t rememberedBytes_ = 0;
  UBreakIterator* breaker_ = nullptr;
  UText* text_ = nullptr;
};

/// The word as it is counted: Latin letters spelled as in the default reading ("müller" gives
/// "mueller"), other letters kept.
void SpellLatinLetters(std::string_view word, std::string& spelled);

}  // namespace tagwright

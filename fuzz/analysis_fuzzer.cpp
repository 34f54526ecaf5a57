// Fuzzes the whole analysis of a page: reading, encoding, scanning, counting, ranking, the
// three outputs (word list, meta tag, existing tag) and writing the tag into the page.
//
// Input: a header line, then the page. The header reads "FSTEKB|keywords|bytes|begin with":
// six characters for the settings (a digit stands for itself; F holds the two filter check
// boxes and the modern reading as bits, 1 short words, 2 common words, 4 modern; then short-word
// size, minimum frequency, table weight, existing-keywords weight, bold weight), optionally six
// more that take over at the first yield (as a user changing the settings during a scan), then the
// texts of the two limit boxes and of "Begin meta tag with:". Missing parts keep their defaults.

#include <gumbo.h>
#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "output/meta_tag.h"
#include "output/word_list.h"
#include "scan/analysis.h"
#include "scan/apply_tag.h"
#include "scan/existing_tag.h"
#include "scan/markup_encoding.h"
#include "scan/page_head.h"
#include "scratch_file.h"
#include "util/charset.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"
#include "util/unicode_text.h"
#include "util/utf8_text.h"
#include "words/word_filters.h"

namespace tagwright::fuzz {
namespace {

// The header character at `at` as a value from `low` to `high` (a digit as itself).
int Pick(std::string_view text, std::size_t at, int low, int high, int fallback) {
  if (at >= text.size()) return fallback;
  const int span = high - low + 1;
  const int digit = static_cast<unsigned char>(text[at]) - '0';
  return low + ((digit - low) % span + span) % span;
}

Settings SettingsFrom(std::string_view text, std::size_t at) {
  Settings s;
  const int flags = Pick(text, at, 0, 7, 3);
  s.ignoreShortWords = (flags & 1) != 0;
  s.ignoreCommonWords = (flags & 2) != 0;
  s.modernMarkup = (flags & 4) != 0;
  s.shortWordSize = Pick(text, at + 1, 1, 9, s.shortWordSize);
  s.thresholdFrequency = Pick(text, at + 2, 1, 9, s.thresholdFrequency);
  s.tableWeight = Pick(text, at + 3, 0, 9, s.tableWeight);
  s.existingKeywordsWeight = Pick(text, at + 4, 0, 9, s.existingKeywordsWeight);
  s.boldWeight = Pick(text, at + 5, 1, 9, s.boldWeight);
  return s;
}

// Settings that change once, at the first yield, when the header asks for it.
class ChangingSettings final : public AnalysisSettings {
 public:
  ChangingSettings(const Settings& first, const Settings& later, bool changes)
      : first_(first), later_(later), changes_(changes) {}
  void Yielded() { changed_ = changes_; }
  const Settings& Now() const { return changed_ ? later_ : first_; }

  bool IgnoreCommonWords() const override { return Now().ignoreCommonWords; }
  bool IgnoreShortWords() const override { return Now().ignoreShortWords; }
  int ShortWordSize() const override { return Now().shortWordSize; }
  int ThresholdFrequency() const override { return Now().thresholdFrequency; }
  int TableWeight() const override { return Now().tableWeight; }
  int ExistingKeywordsWeight() const override { return Now().existingKeywordsWeight; }
  int BoldWeight() const override { return Now().boldWeight; }
  bool ModernMarkup() const override { return Now().modernMarkup; }

 private:
  Settings first_, later_;
  bool changes_;
  bool changed_ = false;
};

struct FuzzCase {
  Settings first, later;
  bool changes = false;
  MetaTagRequest request;
  std::string_view page;
};

FuzzCase ParseCase(std::string_view input) {
  FuzzCase c;
  const std::size_t newline = input.find('\n');
  const std::string_view header = input.substr(0, newline);
  c.page = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

  std::vector<std::string_view> fields;
  std::size_t begin = 0;
  // The fourth field, the begin-with text, takes the rest of the header, bars included.
  while (fields.size() < 3) {
    const std::size_t bar = header.find('|', begin);
    if (bar == std::string_view::npos) break;
    fields.push_back(header.substr(begin, bar - begin));
    begin = bar + 1;
  }
  fields.push_back(header.substr(begin));

  c.first = SettingsFrom(fields[0], 0);
  c.changes = fields[0].size() > 6;
  c.later = SettingsFrom(fields[0], 6);
  if (fields.size() > 1) c.request.maxKeywordsText = fields[1];
  if (fields.size() > 2) c.request.maxBytesText = fields[2];
  if (fields.size() > 3) c.request.beginWithText = fields[3];
  return c;
}

// Checks the observer calls and changes the settings at the first yield.
class FuzzObserver final : public ScanObserver {
 public:
  explicit FuzzObserver(ChangingSettings& settings) : settings_(settings) {}
  void OnNewWord(std::string_view word, std::int64_t numWords) override {
    Require(numWords == numWords_ + 1, "the word count grows by one with every new word");
    Require(!word.empty() && CharacterCount(word) <= kMaxWordLength,
            "a new word has 1 to 60 letters");
    numWords_ = numWords;
  }
  void OnYield() override { settings_.Yielded(); }
  std::int64_t NumWords() const { return numWords_; }

 private:
  ChangingSettings& settings_;
  std::int64_t numWords_ = 0;
};

// The lines of `page` as the line reader should cut them: CR LF, CR and LF each end a line.
std::vector<std::string> SplitLines(std::string_view page) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\r' || page[i] == '\n') {
      if (page[i] == '\r' && i + 1 < page.size() && page[i + 1] == '\n') ++i;
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line.push_back(page[i]);
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

bool SameWords(const RankedWords& a, const RankedWords& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].word != b[i].word || a[i].frequency != b[i].frequency ||
        a[i].keyValue != b[i].keyValue) {
      return false;
    }
  }
  return true;
}

// The same scan without the file, the lines handed straight to the analysis: true when it
// gives the words `fromFile`.
bool SameInMemory(const RankedWords& fromFile, const FuzzCase& c, std::string_view head,
                  const std::vector<std::string>& lines) {
  ChangingSettings settings(c.first, c.later, c.changes);
  FuzzObserver observer(settings);
  Analysis analysis(settings, observer);
  RunScan(LineList(lines, std::string(head)), analysis, observer);
  return SameWords(fromFile, analysis.Ranked());
}

void CheckRanked(const RankedWords& words, const FuzzCase& c, const AnalysisSettings& settings) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    const RankedWord& w = words[i];
    if (!c.first.modernMarkup && !c.later.modernMarkup) {
      Require(w.word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos,
              "a word is made of the letters a to z");
    } else {
      // Letters of any script, in UTF-8; of ASCII only the letters a to z.
      Require(IsValidUtf8(w.word), "a word is UTF-8");
      Require(std::none_of(w.word.begin(), w.word.end(),
                           [](char ch) {
                             const auto u = static_cast<unsigned char>(ch);
                             return u < 0x80 && !(ch >= 'a' && ch <= 'z');
                           }),
              "a word holds no ASCII character but the letters a to z");
    }
    // A word counted before the settings changed passed the first ones.
    Require(!IsDroppedWord(w.word, c.first) || (c.changes && !IsDroppedWord(w.word, c.later)),
            "a listed word passes the word filters");
    Require(w.frequency >= settings.ThresholdFrequency(), "a listed word is frequent enough");
    Require(w.keyValue > 0 && w.keyValue <= 100, "a scaled key value lies in (0, 100]");
    Require(i == 0 || words[i - 1].keyValue >= w.keyValue, "words stand in key-value order");
  }
  Require(words.empty() || words[0].keyValue == 100, "the best word scales to 100");
}

void CheckWordList(const RankedWords& words, const AnalysisSettings& settings) {
  const std::string list = ShowWordList(words, settings);
  if (words.empty()) {
    Require(list == ShowNoWordsMessage(settings.ShortWordSize(), settings.ThresholdFrequency()),
            "an empty table gives the no-words message");
    return;
  }
  Require(list.starts_with("Rank Value Frequency\r\n"), "the word list has its heading");
  std::int64_t shown = 0;
  for (const RankedWord& w : words) shown += RoundHalfEven(w.keyValue) != 0;
  const std::int64_t note = shown < static_cast<std::int64_t>(words.size()) ? 2 : 0;
  Require(CountChar(list, '\n') == 1 + shown + note, "one row per word with a value above 0");
}

void CheckMetaTag(const RankedWords& words, const MetaTagRequest& request,
                  const AnalysisSettings& settings) {
  const MetaTag tag = GenerateMetaTag(words, request, settings);
  Require(tag.noWords == words.empty(), "only an empty table gives no tag");
  if (tag.noWords) return;
  constexpr std::string_view kOpening = "<META NAME=\"keywords\" CONTENT=\"";
  Require(tag.text.starts_with(kOpening), "the tag opens as a keywords meta tag");
  const std::size_t close = tag.text.find("\">\r\n\r\nNumber of keywords in meta tag: ");
  Require(close != std::string::npos, "the tag closes before its statistics");
  Require(tag.tagLength == static_cast<std::int64_t>(close),
          "the byte count is the length of the tag without its closing");
  Require(tag.text.ends_with("Number of bytes in meta tag: " + std::to_string(tag.tagLength)),
          "the statistics end with the byte count");

  // The limits hold unless the user's phrases alone pass them.
  const std::int64_t maxKeywords = ReadLimit(request.maxKeywordsText);
  const std::int64_t maxBytes = ReadLimit(request.maxBytesText);
  const std::string_view phrases = TrimBlanks(request.beginWithText);
  const std::int64_t phraseKeywords = phrases.empty() ? 0 : CountChar(phrases, ',') + 1;
  const auto phraseBytes = static_cast<std::int64_t>(kOpening.size() + phrases.size());
  if (maxKeywords > 0) {
    Require(tag.keywordCount <= std::max(maxKeywords, phraseKeywords), "keyword limit holds");
  }
  if (maxBytes > 0) Require(tag.tagLength <= std::max(maxBytes, phraseBytes), "byte limit holds");
  if (IsValidUtf8(request.beginWithText)) Require(IsValidUtf8(tag.text), "the tag is UTF-8");
}

void CheckExistingTag(const std::string& path) {
  const std::string shown = ShowExistingKeywordMetaTag(path);
  Require(shown == "No keyword meta tag found." ||
              shown.starts_with("Existing keyword meta tag:\r\n<meta "),
          "the existing tag is shown from its \"<meta \" or reported missing");
  Require(IsValidUtf8(shown), "the existing tag is shown as UTF-8");
}

// The page as gumbo's HTML parser reads it, one entry per node in document order: elements
// with their attributes, comments, and text without its blanks. Keywords meta tags are left
// out, so a page with its tag replaced or added reads the same as before.
std::vector<std::string> Tokens(std::string_view original) {
  // Browsers run scripts, and then every <noscript> holds text, as a <noframes> does; gumbo
  // reads as a browser without scripts. The two names have the same length.
  std::string page(original);
  // A UTF-8 byte order mark is no text of the page: browsers drop it before they parse.
  if (page.starts_with("\xEF\xBB\xBF")) page.erase(0, 3);
  for (std::size_t at = 0; at + 8 <= page.size(); ++at) {
    if (strncasecmp(page.c_str() + at, "noscript", 8) == 0 && at > 0 &&
        (page[at - 1] == '<' || (at > 1 && page[at - 1] == '/' && page[at - 2] == '<')))
      page.replace(at, 8, "noframes");
  }
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  GumboOutput* output = gumbo_parse_with_options(&options, page.data(), page.size());
  std::vector<std::string> tokens;
  std::vector<const GumboNode*> stack{output->document};
  while (!stack.empty()) {
    const GumboNode* node = stack.back();
    stack.pop_back();
    const GumboVector* children = nullptr;
    switch (node->type) {
      case GUMBO_NODE_DOCUMENT:
        children = &node->v.document.children;
        break;
      case GUMBO_NODE_ELEMENT:
      case GUMBO_NODE_TEMPLATE: {
        const GumboElement& e = node->v.element;
        const GumboAttribute* name = gumbo_get_attribute(&e.attributes, "name");
        // The name as apply compares it: HTML's ASCII whitespace trimmed, not only blanks.
        std::string lowered = name == nullptr ? std::string() : std::string(name->value);
        const std::size_t first = lowered.find_first_not_of(" \t\n\f\r");
        lowered = first == std::string::npos
                      ? std::string()
                      : lowered.substr(first, lowered.find_last_not_of(" \t\n\f\r") - first + 1);
        LowerCaseAscii(lowered);
        if (e.tag == GUMBO_TAG_META && lowered == "keywords") break;
        std::string token = "<" + std::to_string(e.tag) + ":" + std::to_string(e.tag_namespace);
        for (unsigned i = 0; i < e.attributes.length; ++i) {
          const auto* a = static_cast<const GumboAttribute*>(e.attributes.data[i]);
          token.append(" ").append(a->name).append("=").append(a->value);
        }
        tokens.push_back(token);
        children = &e.children;
        break;
      }
      case GUMBO_NODE_COMMENT:
        tokens.push_back(std::string("<!--") + node->v.text.text);
        break;
      default: {
        std::string text;
        for (const char* c = node->v.text.text; *c != '\0'; ++c) {
          if (*c != ' ' && *c != '\t' && *c != '\n' && *c != '\r' && *c != '\f') text += *c;
        }
        if (!text.empty()) tokens.push_back(text);
      }
    }
    if (children == nullptr) continue;
    for (unsigned i = children->length; i > 0; --i) {
      stack.push_back(static_cast<const GumboNode*>(children->data[i - 1]));
    }
  }
  gumbo_destroy_output(&options, output);
  return tokens;
}

// Writing the generated tag into the page: every byte outside the replaced span is kept, the
// span is the head's first keywords tag, the parser reads the page as before apart from the
// keywords tags, the head's first keywords tag is then the written one, and writing it again
// changes nothing.
void CheckApply(std::string_view page, const std::string& path, const MetaTag& tag) {
  const ExistingTag inFile = FindExistingKeywordMetaTag(path);
  const ExistingTag inMemory = FindExistingKeywordMetaTagInText(page);
  Require(inFile.status == inMemory.status && inFile.tag == inMemory.tag,
          "the existing tag is the same found in the file and in memory");
  if (tag.noWords) return;
  const PageRewrite rewrite = RewritePage(page, tag.tag);
  if (rewrite.action != PageRewrite::Action::Replaced &&
      rewrite.action != PageRewrite::Action::Inserted) {
    Require(rewrite.page.empty(), "a page left alone is not rewritten");
    return;
  }
  Require(rewrite.begin <= rewrite.end && rewrite.end <= page.size(), "the span lies in the page");
  const std::string_view kept = page.substr(0, rewrite.begin);
  const std::string_view rest = page.substr(rewrite.end);
  Require(rewrite.page.size() == kept.size() + rewrite.inserted.size() + rest.size() &&
              rewrite.page.starts_with(kept) && rewrite.page.ends_with(rest) &&
              rewrite.page.compare(kept.size(), rewrite.inserted.size(), rewrite.inserted) == 0,
          "every byte outside the replaced span is kept");
  const HeadLayout before = LocateHead(page);
  if (rewrite.action == PageRewrite::Action::Replaced) {
    Require(!before.keywordsTags.empty() && before.keywordsTags.front().begin == rewrite.begin &&
                before.keywordsTags.front().end == rewrite.end,
            "the replaced span is the head's first keywords tag");
  } else {
    Require(rewrite.begin == rewrite.end && before.keywordsTags.empty(),
            "a tag is inserted only into a head without one");
  }
  Require(Tokens(page) == Tokens(rewrite.page),
          "the page reads as before apart from its keywords tags");
  const HeadLayout after = LocateHead(rewrite.page);
  Require(!after.keywordsTags.empty() && after.keywordsTags.front().begin >= rewrite.begin &&
              after.keywordsTags.front().end <= rewrite.begin + rewrite.inserted.size(),
          "the written tag is the head's first keywords tag");
  Require(RewritePage(rewrite.page, tag.tag).page == rewrite.page,
          "writing it again changes nothing");
}

// The one-pass encoding must agree with its whole-line reference on every line.
void CheckEncoding(const std::vector<std::string>& lines) {
  for (std::string line : lines) {
    LowerCaseAscii(line);
    std::string reference = line;
    EncodeMarkup(line);
    EncodeMarkupByPasses(reference);
    Require(line == reference, "EncodeMarkup agrees with EncodeMarkupByPasses");
  }
}

}  // namespace
}  // namespace tagwright::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright;
  using namespace tagwright::fuzz;
  static ScratchFile page;
  const FuzzCase c = ParseCase(std::string_view(reinterpret_cast<const char*>(data), size));
  page.Write(c.page);

  ChangingSettings settings(c.first, c.later, c.changes);
  FuzzObserver observer(settings);
  Analysis analysis(settings, observer);
  const RunResult result = RunScan(FileLines(page.Path()), analysis, observer);
  Require(result.outcome == RunOutcome::Completed, "a readable page is always analysed");
  Require(observer.NumWords() == analysis.Table().WordCount(), "every new word was announced");

  std::vector<std::string> lines = SplitLines(c.page);
  // Lines of a page in a legacy charset are converted as the reader converts them; a UTF-16
  // page has other line ends and is left out of this comparison.
  const std::string charset = ConversionCharset(c.page.substr(0, kCharsetGuessBytes));
  LineDecoder decoder(charset);
  std::string head(c.page.substr(0, kCharsetGuessBytes));
  if (!charset.empty() && decoder.Ok()) {
    for (std::string& line : lines) decoder.Decode(line);
    decoder.Decode(head);
  }
  if (charset.empty() || !decoder.Ok() ||
      !(charset.starts_with("utf-16") || charset.starts_with("utf-32"))) {
    Require(SameInMemory(analysis.Ranked(), c, head, lines),
            "the file gives the same words as its lines handed over directly");
  }
  CheckRanked(analysis.Ranked(), c, settings);
  CheckWordList(analysis.Ranked(), settings);
  CheckMetaTag(analysis.Ranked(), c.request, settings);
  CheckExistingTag(page.Path());
  CheckApply(c.page, page.Path(), GenerateMetaTag(analysis.Ranked(), c.request, settings));
  CheckEncoding(lines);
  return 0;
}

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "scan/analysis.h"
#include "scan/weight_sources.h"
#include "util/settings.h"

namespace tagwright {

/// How many of a page's best words the report shows with their bars.
inline constexpr std::size_t kReportTopWords = 20;
/// A word leads a page when it is among the page's this many best words.
inline constexpr std::size_t kReportLeadingRank = 10;

/// One of a page's best words in the report: its key value in percent of the page's highest,
/// split by source into whole numbers that add up to the value.
struct ReportWord {
  std::string word;
  int value = 0;
  std::array<int, kWeightSourceCount> split{};
};

/// What the report shows of one page.
struct ReportPage {
  std::string path;                    // as given
  std::string title;                   // UTF-8, blanks collapsed; empty when the page has none
  bool hasTitle = false;               // a title element with text
  bool hasDescription = false;         // a description meta tag with content
  bool hasKeywordsTag = false;         // a keywords meta tag with at least one keyword
  std::vector<std::string> existing;   // its keywords, as the page writes them (lower case)
  std::vector<std::string> generated;  // the generated tag's phrases and words
  std::vector<ReportWord> top;         // the best words, at most kReportTopWords
  std::vector<std::string> words;      // every word of the ranked list, furniture too
};

/// True when an existing keyword and a generated one name the same word: equal after blanks
/// are collapsed, or equal but for a final "s" on one of them.
bool SameKeyword(std::string_view a, std::string_view b);

/// How many of `existing` are found among `generated` (SameKeyword).
std::size_t SharedCount(const std::vector<std::string>& existing,
                        const std::vector<std::string>& generated);

/// True when a keywords tag is stale: it shares fewer than half of its keywords with the
/// generated tag.
bool IsStaleTag(const ReportPage& page);

/// The title and whether there is a description, read from a page's bytes (the title element
/// and the description meta tag, with their character references decoded). The charset is the
/// one the page declares or that is guessed for it, as the analysis reads it.
struct PageHead {
  std::string title;
  bool hasTitle = false;
  bool hasDescription = false;
};
PageHead ReadPageHead(std::string_view page);

/// The keywords of a keywords meta tag as FindExistingKeywordMetaTag gives it: its content
/// split at commas, each trimmed, empty ones left out.
std::vector<std::string> TagKeywords(std::string_view tag);

/// Analyses `page` (the bytes of the file at `path`) with `analysis`, which records into
/// `recorder`, and gathers what the report shows. False with a plain message in `error` when
/// the analysis failed. `drop`, when given, names words that leave the page's ranking unless
/// they stand in its title or an h1 (Analysis::DropWordsOutsideTitle).
bool AnalyseReportPage(const std::string& path, std::string_view page, Analysis& analysis,
                       WeightSourceRecorder& recorder, const AnalysisSettings& settings,
                       const MetaTagRequest& request, ReportPage& out, std::string& error,
                       const std::function<bool(std::string_view)>* drop = nullptr);

/// The best words of a completed analysis with their key values split by source, the split
/// rounded to whole numbers that add up to the rounded value.
std::vector<ReportWord> TopWords(const Analysis& analysis, const WeightSourceRecorder& recorder,
                                 std::size_t count);

/// The figures of "The site at a glance".
struct SiteCounts {
  std::size_t pages = 0;
  std::size_t withoutKeywords = 0;
  std::size_t staleKeywords = 0;
  std::size_t withoutTitle = 0;
  std::size_t withoutDescription = 0;
  std::size_t duplicateTitles = 0;
};

/// A word with the number of pages it counts on.
struct WordPages {
  std::string word;
  std::size_t pages = 0;
};

/// A site's pages gathered for one HTML report. Pages are added in their order; each is kept
/// in a compact form (its words as numbers into one list of the site's words), so that a site
/// of tens of thousands of pages fits in memory.
class SiteReport {
 public:
  void Add(ReportPage page);

  SiteCounts Counts() const;
  /// The words that lead the most pages, most first (ties in order of first appearance).
  std::vector<WordPages> LeadingWords(std::size_t count) const;
  /// The words on more than half of the pages, most first.
  std::vector<WordPages> Furniture() const;

  /// The whole report: one self-contained HTML page. `linkBase` is the folder the report is
  /// written to (the pages are linked relative to it); `heading` names the site.
  std::string Html(const std::string& linkBase, const std::string& heading) const;

 private:
  struct Page {
    std::string path;
    std::string title;
    std::uint8_t flags = 0;
    std::vector<std::string> existing;
    std::vector<std::uint32_t> sharedExisting;   // positions in `existing`
    std::vector<std::uint32_t> generated;        // word numbers
    std::vector<std::uint32_t> sharedGenerated;  // positions in `generated`
    std::vector<std::uint32_t> topWords;         // word numbers
    std::vector<std::uint8_t> topValues;         // value, then the split, per word
  };
  std::uint32_t WordNumber(std::string_view word);
  std::string PageData(const std::string& linkBase) const;

  std::vector<Page> pages_;
  std::vector<std::string> words_;
  std::unordered_map<std::string, std::uint32_t> numbers_;
  std::vector<std::uint32_t> leading_;                     // per word number: pages it leads
  std::vector<std::uint32_t> onPages_;                     // per word number: pages it is on
  std::unordered_map<std::string, std::uint32_t> titles_;  // pages per title
};

/// The report of the one page at `path`, as `report` on that page writes it to a file in the
/// folder `linkBase`. False with a plain message in `error` when the page cannot be read or
/// analysed.
bool PageReport(const std::string& path, const AnalysisSettings& settings,
                const MetaTagRequest& request, const std::string& linkBase, std::string& html,
                std::string& error);

/// Writes `bytes` to `path` through a temporary file in its folder, flushed and renamed over
/// it: a file that is there keeps its permissions, a new one gets those the umask allows.
/// False with a plain message in `error`, leaving no temporary file behind.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

/// `text` escaped for HTML text and attribute values.
std::string HtmlEscape(std::string_view text);
/// `text` as a JSON string that may stand inside a script element: "<", ">" and "&" and the
/// line separators are written as \u escapes; bytes that are not UTF-8 become U+FFFD.
std::string ScriptJsonString(std::string_view text);
/// The link from the folder `base` to the file `path`, percent-encoded for an href; never a
/// text that a browser would take for a scheme.
std::string RelativeLink(const std::string& path, const std::string& base);

}  // namespace tagwright

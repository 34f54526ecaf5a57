// The HTML of a site report: the figures and the chart of the words that lead the most pages
// written here, the table of pages and each page's details drawn by the page's own script
// from the data block.

#include <algorithm>
#include <string>
#include <string_view>

#include "output/site_report.h"

namespace tagwright {

namespace {

#include "output/site_report_page.inc"

constexpr std::uint8_t kHasTitle = 1;
constexpr std::uint8_t kDuplicateTitle = 16;
constexpr char kSourceLetters[kWeightSourceCount + 1] = "thbmax";

std::string Count(std::size_t n, const char* id, const char* show, const char* what, bool warn) {
  return std::string("<li") + (warn && n > 0 ? " class=\"warn\"" : "") +
         "><a href=\"#show=" + show + "\"><span class=\"n\" id=\"count-" + id + "\">" +
         std::to_string(n) + "</span> " + what + "</a></li>\n";
}

// Horizontal bars, one a word, as long as the number of pages it leads.
std::string LeadingChart(const std::vector<WordPages>& words, std::size_t pages) {
  if (words.empty()) return "<p class=\"note\">No page has words.</p>\n";
  constexpr int kRow = 22;
  constexpr int kLabel = 140;
  constexpr int kBar = 380;
  const std::size_t most = words.front().pages;
  std::string svg = "<svg class=\"chart\" width=\"100%\" viewBox=\"0 0 600 " +
                    std::to_string(static_cast<int>(words.size()) * kRow + 4) +
                    "\" role=\"img\" aria-labelledby=\"leading-caption\">\n";
  for (std::size_t i = 0; i < words.size(); ++i) {
    const int y = static_cast<int>(i) * kRow + 2;
    const int width = std::max(1, static_cast<int>(static_cast<double>(words[i].pages) /
                                                   static_cast<double>(most) * kBar));
    const std::string word = HtmlEscape(words[i].word);
    const std::string n = std::to_string(words[i].pages);
    svg += "<g><title>" + word + ": among the ten best words of " + n + " of " +
           std::to_string(pages) + " pages</title><text x=\"" + std::to_string(kLabel - 8) +
           "\" y=\"" + std::to_string(y + 14) + "\" text-anchor=\"end\">" + word +
           "</text><rect class=\"bar\" x=\"" + std::to_string(kLabel) + "\" y=\"" +
           std::to_string(y) + "\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(kRow - 6) + "\"/><text x=\"" + std::to_string(kLabel + width + 6) +
           "\" y=\"" + std::to_string(y + 14) + "\">" + n + "</text></g>\n";
  }
  return svg + "</svg>\n";
}

}  // namespace

std::string SiteReport::PageData(const std::string& linkBase) const {
  // The words that the data names, numbered by how often it names them: the most named get
  // the shortest numbers.
  std::vector<std::uint32_t> uses(words_.size(), 0);
  for (const Page& page : pages_) {
    for (const std::uint32_t n : page.generated) ++uses[n];
    for (const std::uint32_t n : page.topWords) ++uses[n];
  }
  std::vector<std::uint32_t> order;
  for (std::uint32_t n = 0; n < uses.size(); ++n) {
    if (uses[n] > 0) order.push_back(n);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&uses](std::uint32_t a, std::uint32_t b) { return uses[a] > uses[b]; });
  std::vector<std::uint32_t> renumbered(words_.size(), 0);
  for (std::uint32_t k = 0; k < order.size(); ++k) renumbered[order[k]] = k;
  const auto numbers = [&renumbered](const std::vector<std::uint32_t>& list, std::string& out) {
    out.push_back('[');
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (i > 0) out.push_back(',');
      out += std::to_string(renumbered[list[i]]);
    }
    out.push_back(']');
  };
  const auto positions = [](const std::vector<std::uint32_t>& list, std::string& out) {
    if (list.empty()) {
      out.push_back('0');
      return;
    }
    out.push_back('[');
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (i > 0) out.push_back(',');
      out += std::to_string(list[i]);
    }
    out.push_back(']');
  };

  std::string out = "{\"words\":[";
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k > 0) out.push_back(',');
    out += ScriptJsonString(words_[order[k]]);
  }
  out += "],\n\"pages\":[";
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const Page& page = pages_[i];
    if (i > 0) out += ",\n";
    // [path, link (0: "./" and the path), title, flags, existing keywords, the shared among
    // them, generated keywords, the shared among them, best words with their splits]
    out.push_back('[');
    out += ScriptJsonString(page.path);
    const std::string link = RelativeLink(page.path, linkBase);
    out.push_back(',');
    out += link == "./" + page.path ? "0" : ScriptJsonString(link);
    out.push_back(',');
    out += ScriptJsonString(page.title);
    std::uint8_t flags = page.flags;
    if ((flags & kHasTitle) != 0 && titles_.at(page.title) > 1) flags |= kDuplicateTitle;
    out.push_back(',');
    out += std::to_string(flags);
    out.push_back(',');
    if (page.existing.empty()) {
      out.push_back('0');
    } else {
      out.push_back('[');
      for (std::size_t k = 0; k < page.existing.size(); ++k) {
        if (k > 0) out.push_back(',');
        out += ScriptJsonString(page.existing[k]);
      }
      out.push_back(']');
    }
    out.push_back(',');
    positions(page.sharedExisting, out);
    out.push_back(',');
    numbers(page.generated, out);
    out.push_back(',');
    positions(page.sharedGenerated, out);
    out += ",[";
    for (std::size_t k = 0; k < page.topWords.size(); ++k) {
      if (k > 0) out.push_back(',');
      out += std::to_string(renumbered[page.topWords[k]]) + ",\"";
      for (std::size_t s = 0; s < kWeightSourceCount; ++s) {
        const int part = page.topValues[k * (kWeightSourceCount + 1) + 1 + s];
        if (part == 0) continue;
        out.push_back(kSourceLetters[s]);
        out += std::to_string(part);
      }
      out.push_back('"');
    }
    out += "]]";
  }
  out += "]}";
  return out;
}

std::string SiteReport::Html(const std::string& linkBase, const std::string& heading) const {
  const SiteCounts counts = Counts();
  const std::string title = HtmlEscape(heading);
  std::string html;
  html += kPageStart;
  html += title;
  html += kPageStyle;
  html += title;
  html += kPageMain;
  html +=
      "<section aria-labelledby=\"glance-heading\">\n"
      "<h2 id=\"glance-heading\">The site at a glance</h2>\n<div class=\"glance\">\n"
      "<div>\n<ul class=\"counts\">\n";
  html += Count(counts.pages, "pages", "all", "pages", false);
  html += Count(counts.withoutKeywords, "nokeywords", "nokeywords", "without a keywords tag", true);
  html += Count(counts.staleKeywords, "stale", "stale", "with a stale keywords tag", true);
  html += Count(counts.withoutTitle, "notitle", "notitle", "without a title", true);
  html += Count(counts.withoutDescription, "nodescription", "nodescription",
                "without a description", true);
  html += Count(counts.duplicateTitles, "duptitle", "duptitle",
                "with the same title as another page", true);
  html +=
      "</ul>\n<p class=\"note\">A keywords tag is stale when it shares fewer than half of its "
      "keywords with the tag generated now. Each figure opens the list of its pages.</p>\n"
      "</div>\n<figure>\n<figcaption id=\"leading-caption\">The words that lead the most "
      "pages: on how many pages each is among the ten best words</figcaption>\n";
  html += LeadingChart(LeadingWords(20), counts.pages);
  html += "</figure>\n</div>\n<h3>The site's furniture</h3>\n";
  const std::vector<WordPages> furniture = Furniture();
  if (furniture.empty()) {
    html += "<p class=\"note\" id=\"furniture\">No word is on more than half of the pages.</p>\n";
  } else {
    html +=
        "<p class=\"note\">Words on more than half of the pages, with the number of pages "
        "they are on: navigation and boilerplate that every page repeats.</p>\n"
        "<ul class=\"furniture\" id=\"furniture\">\n";
    for (const WordPages& word : furniture) {
      html += "<li>" + HtmlEscape(word.word) + " <small>" + std::to_string(word.pages) +
              "</small></li>\n";
    }
    html += "</ul>\n";
  }
  html += "</section>\n";
  html += kPageTable;
  html += PageData(linkBase);
  html += kPageEnd;
  return html;
}

}  // namespace tagwright

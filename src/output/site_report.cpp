#include "output/site_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>

#include "output/meta_tag.h"
#include "scan/existing_tag.h"
#include "util/charset.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"
#include "util/utf8_text.h"

namespace tagwright {

namespace {

constexpr std::uint8_t kHasTitle = 1;
constexpr std::uint8_t kHasDescription = 2;
constexpr std::uint8_t kHasKeywords = 4;
constexpr std::uint8_t kStale = 8;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// True when `text` at `at` begins with `lower` (given in lower case), in any case.
bool StartsWithAnyCase(std::string_view text, std::size_t at, std::string_view lower) {
  if (at + lower.size() > text.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    if (Lower(text[at + i]) != lower[i]) return false;
  }
  return true;
}

// True when a tag named `name` (lower case) opens at `at` (at its "<").
bool TagAt(std::string_view page, std::size_t at, std::string_view name) {
  if (!StartsWithAnyCase(page, at + 1, name)) return false;
  const std::size_t after = at + 1 + name.size();
  return after == page.size() || IsBlank(page[after]) || page[after] == '>' || page[after] == '/';
}

std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (IsBlank(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(c);
  }
  return out;
}

// Decodes the character references that titles use: the numeric ones and the few named ones
// of plain text. Others stay as written.
std::string DecodeTextReferences(std::string_view text) {
  static constexpr std::pair<std::string_view, std::uint32_t> kNamed[] = {
      {"amp;", '&'},      {"lt;", '<'},       {"gt;", '>'},        {"quot;", '"'},
      {"apos;", '\''},    {"nbsp;", 0xA0},    {"ndash;", 0x2013},  {"mdash;", 0x2014},
      {"copy;", 0xA9},    {"reg;", 0xAE},     {"hellip;", 0x2026}, {"rsquo;", 0x2019},
      {"lsquo;", 0x2018}, {"rdquo;", 0x201D}, {"ldquo;", 0x201C},  {"laquo;", 0xAB},
      {"raquo;", 0xBB},   {"middot;", 0xB7}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out.push_back(text[i]);
      continue;
    }
    const std::string_view rest = text.substr(i + 1);
    if (!rest.empty() && rest[0] == '#') {
      const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
      std::size_t k = hex ? 2 : 1;
      std::uint32_t code = 0;
      const std::size_t digits = k;
      while (k < rest.size() && k < digits + 8) {
        const char c = Lower(rest[k]);
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (d < 0) break;
        code = code * (hex ? 16u : 10u) + static_cast<std::uint32_t>(d);
        ++k;
      }
      if (k > digits) {
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
        AppendCodePoint(out, code);
        i += k + (k < rest.size() && rest[k] == ';' ? 1 : 0);
        continue;
      }
    }
    bool named = false;
    for (const auto& [name, code] : kNamed) {
      if (StartsWithAnyCase(rest, 0, name)) {
        AppendCodePoint(out, code);
        i += name.size();
        named = true;
        break;
      }
    }
    if (!named) out.push_back('&');
  }
  return out;
}

// The value of attribute `name` (lower case) in the tag text `tag` (from after its name to
// its ">"), or npos in `found` when it has none.
std::string_view AttributeValue(std::string_view tag, std::string_view name, bool& found) {
  found = false;
  for (std::size_t at = 0; at < tag.size(); ++at) {
    if (!StartsWithAnyCase(tag, at, name) || (at > 0 && !IsBlank(tag[at - 1]))) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    if (i == tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    found = true;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
      const std::size_t end = tag.find(tag[i], i + 1);
      return tag.substr(i + 1, (end == std::string_view::npos ? tag.size() : end) - i - 1);
    }
    std::size_t end = i;
    while (end < tag.size() && !IsBlank(tag[end]) && tag[end] != '>') ++end;
    return tag.substr(i, end - i);
  }
  return {};
}

std::string Trimmed(std::string_view text) { return CollapseBlanks(text); }

// Whole numbers for the shares of `split` in `value` that add up to it: each share rounded
// down, the rest handed out by the largest remainders.
std::array<int, kWeightSourceCount> SplitValue(const WeightSplit& split, int value) {
  std::array<int, kWeightSourceCount> parts{};
  const double total = std::accumulate(split.begin(), split.end(), 0.0);
  if (value <= 0) return parts;
  if (total <= 0) {
    parts[static_cast<std::size_t>(WeightSource::Body)] = value;
    return parts;
  }
  std::array<double, kWeightSourceCount> rest{};
  int given = 0;
  for (std::size_t i = 0; i < kWeightSourceCount; ++i) {
    const double exact = static_cast<double>(split[i]) / total * value;
    parts[i] = static_cast<int>(std::floor(exact));
    rest[i] = exact - parts[i];
    given += parts[i];
  }
  while (given < value) {
    const auto most =
        static_cast<std::size_t>(std::max_element(rest.begin(), rest.end()) - rest.begin());
    ++parts[most];
    rest[most] = -1;
    ++given;
  }
  return parts;
}

}  // namespace

bool SameKeyword(std::string_view a, std::string_view b) {
  const std::string x = CollapseBlanks(a);
  const std::string y = CollapseBlanks(b);
  if (x.empty() || y.empty()) return false;
  if (x == y) return true;
  const auto plural = [](const std::string& p, const std::string& s) {
    return p.size() == s.size() + 1 && p.back() == 's' && p.compare(0, s.size(), s) == 0;
  };
  return plural(x, y) || plural(y, x);
}

std::size_t SharedCount(const std::vector<std::string>& existing,
                        const std::vector<std::string>& generated) {
  return static_cast<std::size_t>(
      std::count_if(existing.begin(), existing.end(), [&](const std::string& e) {
        return std::any_of(generated.begin(), generated.end(),
                           [&](const std::string& g) { return SameKeyword(e, g); });
      }));
}

bool IsStaleTag(const ReportPage& page) {
  return page.hasKeywordsTag &&
         SharedCount(page.existing, page.generated) * 2 < page.existing.size();
}

PageHead ReadPageHead(std::string_view page) {
  PageHead head;
  std::string title;
  for (std::size_t at = page.find('<'); at != std::string_view::npos; at = page.find('<', at + 1)) {
    if (TagAt(page, at, "body") || StartsWithAnyCase(page, at, "</head")) break;
    if (StartsWithAnyCase(page, at, "<!--")) {
      const std::size_t end = page.find("-->", at + 4);
      if (end == std::string_view::npos) break;
      at = end;
      continue;
    }
    if (!head.hasTitle && TagAt(page, at, "title")) {
      const std::size_t open = page.find('>', at);
      if (open == std::string_view::npos) break;
      std::size_t close = open + 1;
      while ((close = page.find('<', close)) != std::string_view::npos &&
             !StartsWithAnyCase(page, close, "</title")) {
        ++close;
      }
      if (close == std::string_view::npos) close = page.size();
      title = std::string(page.substr(open + 1, close - open - 1));
      head.hasTitle = true;
      at = close == page.size() ? close - 1 : close;
      continue;
    }
    if (!head.hasDescription && TagAt(page, at, "meta")) {
      const std::size_t end = std::min(page.find('>', at), page.size());
      const std::string_view tag = page.substr(at + 5, end - at - 5);
      bool named = false;
      bool hasContent = false;
      const std::string name = CollapseBlanks(AttributeValue(tag, "name", named));
      const std::string_view content = AttributeValue(tag, "content", hasContent);
      if (named && StartsWithAnyCase(name, 0, "description") && name.size() == 11 &&
          !CollapseBlanks(content).empty()) {
        head.hasDescription = true;
      }
    }
  }
  if (head.hasTitle) {
    const std::string charset = ConversionCharset(page.substr(0, kCharsetGuessBytes));
    if (!charset.empty()) {
      LineDecoder decoder(charset);
      if (decoder.Ok()) {
        decoder.Decode(title);
      } else {
        title = ToUtf8(title);
      }
    } else {
      title = ToUtf8(title);
    }
    head.title = CollapseBlanks(DecodeTextReferences(title));
    head.hasTitle = !head.title.empty();
  }
  return head;
}

std::vector<std::string> TagKeywords(std::string_view tag) {
  std::vector<std::string> keywords;
  const std::size_t end = std::min(tag.find('>'), tag.size());
  bool found = false;
  const std::string_view content = AttributeValue(tag.substr(0, end), "content", found);
  std::size_t from = 0;
  while (from <= content.size()) {
    const std::size_t comma = std::min(content.find(',', from), content.size());
    std::string keyword = Trimmed(content.substr(from, comma - from));
    if (!keyword.empty()) keywords.push_back(std::move(keyword));
    from = comma + 1;
  }
  return keywords;
}

std::vector<ReportWord> TopWords(const Analysis& analysis, const WeightSourceRecorder& recorder,
                                 std::size_t count) {
  std::vector<ReportWord> top;
  const RankedWords& ranked = analysis.Ranked();
  for (std::size_t i = 0; i < ranked.size() && i < count; ++i) {
    const RankedWord& entry = ranked[i];
    WeightSplit split = recorder.Recorded(entry.word);
    // A plural counted before its singular arrived was recorded under the plural; the table
    // then renamed its entry to the singular.
    const std::string plural = std::string(entry.word) + "s";
    const WeightSplit early = recorder.Recorded(plural);
    if (std::any_of(early.begin(), early.end(), [](float v) { return v > 0; }) &&
        analysis.Table().Find(plural).frequency == 0) {
      for (std::size_t k = 0; k < kWeightSourceCount; ++k) split[k] += early[k];
    }
    ReportWord word;
    word.word = std::string(entry.word);
    word.value = static_cast<int>(RoundHalfEven(entry.keyValue));
    word.split = SplitValue(split, word.value);
    top.push_back(std::move(word));
  }
  return top;
}

bool AnalyseReportPage(const std::string& path, std::string_view page, Analysis& analysis,
                       WeightSourceRecorder& recorder, const AnalysisSettings& settings,
                       const MetaTagRequest& request, ReportPage& out, std::string& error,
                       const std::function<bool(std::string_view)>* drop) {
  out = ReportPage{};
  out.path = path;
  ScanObserver quiet;
  const RunResult run = RunScan(PageLines(page), analysis, quiet);
  if (run.outcome != RunOutcome::Completed) {
    error = run.error;
    return false;
  }
  // The site's furniture is counted from the whole ranking, before it is dropped.
  out.words.reserve(analysis.Ranked().size());
  for (const RankedWord& w : analysis.Ranked()) out.words.emplace_back(w.word);
  if (drop != nullptr) analysis.DropWordsOutsideTitle(*drop);
  const MetaTag tag = GenerateMetaTag(analysis.Ranked(), request, settings);
  // The tag's content lies between CONTENT=" and the closing quotation mark.
  const std::size_t content = tag.tag.find("CONTENT=\"");
  if (content != std::string::npos && tag.tag.size() >= content + 11) {
    const std::string_view words =
        std::string_view(tag.tag).substr(content + 9, tag.tag.size() - content - 11);
    std::size_t from = 0;
    while (from <= words.size()) {
      const std::size_t comma = std::min(words.find(',', from), words.size());
      std::string keyword = Trimmed(words.substr(from, comma - from));
      if (!keyword.empty()) out.generated.push_back(std::move(keyword));
      from = comma + 1;
    }
  }
  const ExistingTag existing = FindExistingKeywordMetaTagInText(page);
  if (existing.status == ExistingTag::Status::Found) out.existing = TagKeywords(existing.tag);
  out.hasKeywordsTag = !out.existing.empty();
  const PageHead head = ReadPageHead(page);
  out.title = head.title;
  out.hasTitle = head.hasTitle;
  out.hasDescription = head.hasDescription;
  out.top = TopWords(analysis, recorder, kReportTopWords);
  return true;
}

std::uint32_t SiteReport::WordNumber(std::string_view word) {
  const auto [it, added] =
      numbers_.try_emplace(std::string(word), static_cast<std::uint32_t>(words_.size()));
  if (added) {
    words_.emplace_back(word);
    leading_.push_back(0);
    onPages_.push_back(0);
  }
  return it->second;
}

void SiteReport::Add(ReportPage page) {
  Page kept;
  kept.path = std::move(page.path);
  kept.title = std::move(page.title);
  if (page.hasTitle) {
    kept.flags |= kHasTitle;
    ++titles_[kept.title];
  }
  if (page.hasDescription) kept.flags |= kHasDescription;
  if (page.hasKeywordsTag) kept.flags |= kHasKeywords;
  if (IsStaleTag(page)) kept.flags |= kStale;
  for (std::size_t i = 0; i < page.existing.size(); ++i) {
    if (std::any_of(page.generated.begin(), page.generated.end(),
                    [&](const std::string& g) { return SameKeyword(page.existing[i], g); })) {
      kept.sharedExisting.push_back(static_cast<std::uint32_t>(i));
    }
  }
  for (std::size_t i = 0; i < page.generated.size(); ++i) {
    kept.generated.push_back(WordNumber(page.generated[i]));
    if (std::any_of(page.existing.begin(), page.existing.end(),
                    [&](const std::string& e) { return SameKeyword(e, page.generated[i]); })) {
      kept.sharedGenerated.push_back(static_cast<std::uint32_t>(i));
    }
  }
  kept.existing = std::move(page.existing);
  for (std::size_t i = 0; i < page.top.size(); ++i) {
    const ReportWord& word = page.top[i];
    const std::uint32_t number = WordNumber(word.word);
    kept.topWords.push_back(number);
    kept.topValues.push_back(static_cast<std::uint8_t>(std::clamp(word.value, 0, 100)));
    for (const int part : word.split) {
      kept.topValues.push_back(static_cast<std::uint8_t>(std::clamp(part, 0, 100)));
    }
    if (i < kReportLeadingRank) ++leading_[number];
  }
  for (const std::string& word : page.words) ++onPages_[WordNumber(word)];
  pages_.push_back(std::move(kept));
}

SiteCounts SiteReport::Counts() const {
  SiteCounts counts;
  counts.pages = pages_.size();
  for (const Page& page : pages_) {
    if ((page.flags & kHasKeywords) == 0) ++counts.withoutKeywords;
    if ((page.flags & kStale) != 0) ++counts.staleKeywords;
    if ((page.flags & kHasTitle) == 0) ++counts.withoutTitle;
    if ((page.flags & kHasDescription) == 0) ++counts.withoutDescription;
    if ((page.flags & kHasTitle) != 0 && titles_.at(page.title) > 1) ++counts.duplicateTitles;
  }
  return counts;
}

namespace {

std::vector<WordPages> MostPages(const std::vector<std::string>& words,
                                 const std::vector<std::uint32_t>& pages, std::size_t least,
                                 std::size_t count) {
  std::vector<std::uint32_t> order;
  for (std::uint32_t i = 0; i < pages.size(); ++i) {
    if (pages[i] >= least && pages[i] > 0) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return pages[a] > pages[b]; });
  if (order.size() > count) order.resize(count);
  std::vector<WordPages> out;
  out.reserve(order.size());
  for (const std::uint32_t i : order) out.push_back({words[i], pages[i]});
  return out;
}

}  // namespace

std::vector<WordPages> SiteReport::LeadingWords(std::size_t count) const {
  return MostPages(words_, leading_, 1, count);
}

std::vector<WordPages> SiteReport::Furniture() const {
  return MostPages(words_, onPages_, pages_.size() / 2 + 1, words_.size());
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string ScriptJsonString(std::string_view text) {
  const std::string valid = ReplaceInvalidUtf8(text);
  std::string out = "\"";
  static constexpr char kHex[] = "0123456789abcdef";
  for (std::size_t i = 0; i < valid.size(); ++i) {
    const auto c = static_cast<unsigned char>(valid[i]);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c == '<' || c == '>' || c == '&' || c == 0x7F) {
      out += "\\u00";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    } else if (c == 0xE2 && i + 2 < valid.size() && valid[i + 1] == '\x80' &&
               (valid[i + 2] == '\xA8' || valid[i + 2] == '\xA9')) {
      // U+2028 and U+2029 end a line in older script parsers.
      out += valid[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
  return out;
}

std::string RelativeLink(const std::string& path, const std::string& base) {
  namespace fs = std::filesystem;
  std::error_code ignored;
  const fs::path target = fs::absolute(fs::path(path), ignored).lexically_normal();
  const fs::path from =
      fs::absolute(fs::path(base.empty() ? "." : base), ignored).lexically_normal();
  std::string relative = target.lexically_relative(from).generic_string();
  if (relative.empty()) relative = target.generic_string();
  std::string link;
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : relative) {
    const auto c = static_cast<unsigned char>(ch);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::strchr("-._~/!$'()*+,;=@", ch) != nullptr;
    if (plain && c != 0) {
      link.push_back(ch);
    } else {
      link.push_back('%');
      link.push_back(kHex[c >> 4]);
      link.push_back(kHex[c & 15]);
    }
  }
  // An absolute path is a file address; a relative one that begins like a scheme or a host
  // gets "./" in front.
  if (!link.empty() && link[0] == '/') return "file://" + link;
  if (link.rfind("../", 0) != 0) link = "./" + link;
  return link;
}

bool PageReport(const std::string& path, const AnalysisSettings& settings,
                const MetaTagRequest& request, const std::string& linkBase, std::string& html,
                std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof()) {
    error = "cannot read " + path;
    return false;
  }
  ScanObserver quiet;
  WeightSourceRecorder recorder;
  Analysis analysis(settings, quiet);
  analysis.RecordWeightSources(&recorder);
  ReportPage gathered;
  if (!AnalyseReportPage(path, page, analysis, recorder, settings, request, gathered, error)) {
    return false;
  }
  SiteReport site;
  site.Add(std::move(gathered));
  html = site.Html(linkBase, "Keywords report: " + path);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  const auto failed = [&error](const std::string& what) {
    error = what + ": " + std::strerror(errno);
    return false;
  };
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 100);
  std::string temp = (folder == "/" ? "" : folder) + "/." + name + ".tagwright-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return failed("cannot create a temporary file in " + folder);
  struct stat like {};
  mode_t mode = 0;
  if (::stat(path.c_str(), &like) == 0 && S_ISREG(like.st_mode)) {
    mode = like.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0;
  for (std::string_view rest = bytes; ok && !rest.empty();) {
    const ssize_t put = ::write(fd, rest.data(), rest.size());
    if (put < 0 && errno == EINTR) continue;
    ok = put > 0;
    if (ok) rest.remove_prefix(static_cast<std::size_t>(put));
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return failed("cannot write " + path);
  }
  return true;
}

}  // namespace tagwright

#include "scan/existing_tag.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>

#include "scan/apply_tag.h"

#include "util/charset.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"

namespace tagwright {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// What one lower-cased, stripped line holds: where the head ends on it, and the "<meta " of
// a line that shows a keywords tag (only the text before "</head>" counts, for a head written
// on one line).
struct LineFinding {
  std::size_t headEnd = npos;
  std::size_t meta = npos;
};

LineFinding CheckLine(std::string_view text) {
  LineFinding found;
  found.headEnd = text.find("</head>");
  const std::string_view head = text.substr(0, found.headEnd);
  const std::size_t meta = head.find("<meta ");
  if (meta != npos && head.find("\"keywords\"") != npos) found.meta = meta;
  return found;
}

// Looks at one line as read from the document; true when the search ends on it.
bool SearchLine(std::string& line, ExistingTag& result) {
  LowerCaseAscii(line);
  const std::string_view text = TrimBlanks(line);
  const LineFinding found = CheckLine(text);
  if (found.meta != npos) {
    result.status = ExistingTag::Status::Found;
    result.tag = ToUtf8(text.substr(found.meta, found.headEnd - found.meta));
    return true;
  }
  return found.headEnd != npos;
}

}  // namespace

ExistingTag FindExistingKeywordMetaTag(const std::string& path) {
  ExistingTag result;
  try {
    PageReader reader;
    if (!reader.Open(path)) return {ExistingTag::Status::Error, "", reader.Error()};
    std::string line;
    while (reader.Next(line)) {
      if (SearchLine(line, result)) return result;
    }
    if (!reader.Error().empty()) return {ExistingTag::Status::Error, "", reader.Error()};
  } catch (const std::exception& e) {
    return {ExistingTag::Status::Error, "", e.what()};
  }
  return result;
}

ExistingTag FindExistingKeywordMetaTagInText(std::string_view page) {
  ExistingTag result;
  TextPageReader reader(page);
  std::string line;
  while (reader.Next(line)) {
    if (SearchLine(line, result)) break;
  }
  return result;
}

std::string ExistingTagText(const ExistingTag& found) {
  switch (found.status) {
    case ExistingTag::Status::Found:
      return "Existing keyword meta tag:\r\n" + found.tag;
    case ExistingTag::Status::NotFound:
      return "No keyword meta tag found.";
    case ExistingTag::Status::Error:
      break;
  }
  return "Error when looking for keywords meta tag.";
}

ExistingTag FindKeywordsTagAsApplyDoes(std::string_view page) {
  ExistingTag result;
  const PagePlan plan = PlanRewrite(page);
  if (plan.action == PageRewrite::Action::WideCharset) {
    // A page of two- or four-byte characters is searched as UTF-8.
    LineDecoder decoder(plan.charset);
    if (!decoder.Ok()) return result;
    std::string converted(page);
    decoder.Decode(converted);
    const HeadLayout head = LocateHead(converted);
    if (head.keywordsTags.empty()) return result;
    const ByteSpan tag = head.keywordsTags.front();
    return {ExistingTag::Status::Found, converted.substr(tag.begin, tag.end - tag.begin), ""};
  }
  if (plan.head.keywordsTags.empty()) return result;
  const ByteSpan tag = plan.head.keywordsTags.front();
  result.status = ExistingTag::Status::Found;
  result.tag = PageTextToUtf8(page.substr(tag.begin, tag.end - tag.begin), plan.charset);
  return result;
}

ExistingTag FindKeywordsTagAsApplyDoesInFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string page;
  if (file) page.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!file && !file.eof()) {
    return {ExistingTag::Status::Error, "", std::strerror(errno)};
  }
  return FindKeywordsTagAsApplyDoes(page);
}

ExistingTag FindExistingKeywordsTag(const std::string& path, bool modern) {
  return modern ? FindKeywordsTagAsApplyDoesInFile(path) : FindExistingKeywordMetaTag(path);
}

std::string ShowExistingKeywordMetaTag(const std::string& path, bool modern) {
  return ExistingTagText(FindExistingKeywordsTag(path, modern));
}

}  // namespace tagwright

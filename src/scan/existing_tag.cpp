#include "scan/existing_tag.h"

#include <exception>

#include "util/line_reader.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"

namespace tagwright {

namespace {

constexpr std::string_view kNotFound = "No keyword meta tag found.";

// The text from the first "<meta " on, when the text also holds "keywords" in quotes.
bool FindTag(std::string_view text, std::string& shown) {
  const std::size_t meta = text.find("<meta ");
  if (meta == std::string_view::npos || text.find("\"keywords\"") == std::string_view::npos) {
    return false;
  }
  shown = "Existing keyword meta tag:\r\n" + ToUtf8(text.substr(meta));
  return true;
}

}  // namespace

std::string ShowExistingKeywordMetaTag(const std::string& path) {
  try {
    LineReader reader;
    if (!reader.Open(path)) return "Error when looking for keywords meta tag.";
    std::string line;
    std::string shown;
    while (reader.Next(line)) {
      LowerCaseAscii(line);
      const std::string_view text = TrimBlanks(line);
      const std::size_t headEnd = text.find("</head>");
      if (headEnd != std::string_view::npos) {
        // A head written on one line: the tag may stand before its end.
        return FindTag(text.substr(0, headEnd), shown) ? shown : std::string(kNotFound);
      }
      if (FindTag(text, shown)) return shown;
    }
    if (!reader.Error().empty()) return "Error when looking for keywords meta tag.";
    return std::string(kNotFound);
  } catch (const std::exception&) {
    return "Error when looking for keywords meta tag.";
  }
}

}  // namespace tagwright

#include "scan/apply_tag.h"

#include <algorithm>

#include "scan/existing_tag.h"
#include "util/charset.h"
#include "util/text_encoding.h"
#include "util/utf8_text.h"

namespace tagwright {

std::string_view PageLineEnd(std::string_view page) {
  const std::size_t end = page.find_first_of("\r\n");
  if (end == std::string_view::npos || page[end] == '\n') return "\n";
  if (end + 1 < page.size() && page[end + 1] == '\n') return "\r\n";
  return "\r";
}

std::string TagForPage(std::string_view tag, PageTextEncoding encoding) {
  // The tag is UTF-8 when it arrives; a stray byte in it is taken as Windows-1252.
  std::string text = ToUtf8(tag);
  const std::size_t open = text.find("CONTENT=\"");
  const std::size_t close = text.rfind('"');
  if (open != std::string::npos && close != std::string::npos && close > open + 8) {
    std::string content;
    for (std::size_t i = open + 9; i < close; ++i) {
      switch (text[i]) {
        case '"':
          content += "&quot;";
          break;
        case '<':
          content += "&lt;";
          break;
        case '>':
          content += "&gt;";
          break;
        default:
          content.push_back(text[i]);
      }
    }
    text.replace(open + 9, close - open - 9, content);
  }
  switch (encoding) {
    case PageTextEncoding::Utf8:
      return text;
    case PageTextEncoding::Windows1252:
      return Utf8ToWindows1252(text);
    case PageTextEncoding::Ascii:
      break;
  }
  return Utf8ToAscii(text);
}

PageTextEncoding TagEncodingFor(std::string_view page, bool staysUtf8) {
  // A page in another charset, declared or guessed, gets every letter beyond ASCII as a
  // character reference.
  if (!ConversionCharset(page.substr(0, kCharsetGuessBytes)).empty()) {
    return PageTextEncoding::Ascii;
  }
  return staysUtf8 ? PageTextEncoding::Utf8 : PageTextEncoding::Windows1252;
}

namespace {

// The tag as written between `kept` and `rest`, what stays of the page. Its encoding follows
// what stays, so writing the tag again over itself gives the same bytes. Letters written as
// Windows-1252 bytes must not make a page without a declared charset look like one in another
// charset, or the page would read differently afterwards: such a tag is written in ASCII.
std::string EncodedTag(std::string_view tag, std::string_view kept, std::string_view rest,
                       PageTextEncoding& encoding) {
  std::string head(kept.substr(0, kCharsetGuessBytes));
  head.append(rest.substr(0, kCharsetGuessBytes - head.size()));
  encoding = TagEncodingFor(head, IsValidUtf8(kept) && IsValidUtf8(rest));
  std::string encoded = TagForPage(tag, encoding);
  const auto beyondAscii = [](char c) { return static_cast<unsigned char>(c) >= 0x80; };
  if (encoding == PageTextEncoding::Windows1252 && std::ranges::any_of(encoded, beyondAscii)) {
    std::string written(kept.substr(0, kCharsetGuessBytes));
    written.append(encoded).append(rest);
    written.resize(std::min(written.size(), kCharsetGuessBytes));
    if (!ConversionCharset(written).empty()) {
      encoding = PageTextEncoding::Ascii;
      encoded = TagForPage(tag, encoding);
    }
  }
  return encoded;
}

}  // namespace

PageRewrite RewritePage(std::string_view page, std::string_view tag) {
  PageRewrite result;
  // A page of two- or four-byte characters is not rewritten byte by byte: it is left alone.
  const std::string charset = ConversionCharset(page.substr(0, kCharsetGuessBytes));
  if (charset.starts_with("utf-16") || charset.starts_with("utf-32")) return result;
  const HeadPlaces places = LocateKeywordsTag(page);
  if (places.tagBegin != HeadPlaces::npos) {
    result.action = PageRewrite::Action::Replaced;
    result.begin = places.tagBegin;
    result.end = places.tagEnd;
    const std::string_view old = page.substr(result.begin, result.end - result.begin);
    std::string encoded =
        EncodedTag(tag, page.substr(0, result.begin), page.substr(result.end), result.encoding);
    if (old.size() >= 3 && old[old.size() - 2] == '/' && !encoded.empty() &&
        encoded.back() == '>') {
      encoded.insert(encoded.size() - 1, old[old.size() - 3] == ' ' ? " /" : "/");
    }
    result.inserted = std::move(encoded);
  } else if (places.headEnd != HeadPlaces::npos) {
    result.action = PageRewrite::Action::Inserted;
    const std::string_view lineEnd = PageLineEnd(page);
    std::size_t lineStart = page.find_last_of("\r\n", places.headEnd);
    lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    std::size_t indentEnd = lineStart;
    while (indentEnd < places.headEnd && (page[indentEnd] == ' ' || page[indentEnd] == '\t')) {
      ++indentEnd;
    }
    const std::string_view indent = page.substr(lineStart, indentEnd - lineStart);
    const std::size_t at = indentEnd == places.headEnd ? lineStart : places.headEnd;
    const std::string encoded =
        EncodedTag(tag, page.substr(0, at), page.substr(at), result.encoding);
    if (indentEnd == places.headEnd) {
      // "</head>" begins its line: the tag goes on a line of its own above it.
      result.begin = lineStart;
      result.inserted.append(indent).append(encoded).append(lineEnd);
    } else {
      // Something stands before "</head>" on its line: the tag gets a line between them.
      result.begin = places.headEnd;
      result.inserted.append(lineEnd).append(indent).append(encoded).append(lineEnd);
    }
    result.end = result.begin;
  } else {
    return result;
  }
  result.page.reserve(page.size() - (result.end - result.begin) + result.inserted.size());
  result.page.append(page.substr(0, result.begin))
      .append(result.inserted)
      .append(page.substr(result.end));
  return result;
}

}  // namespace tagwright

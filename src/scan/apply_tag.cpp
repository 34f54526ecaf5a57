#include "scan/apply_tag.h"

#include <initializer_list>
#include <string>
#include <string_view>

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

namespace {

// The first bytes (up to kCharsetGuessBytes) of the page made of `parts` one after the other.
std::string HeadOf(std::initializer_list<std::string_view> parts) {
  std::string head;
  for (std::string_view part : parts) {
    if (head.size() >= kCharsetGuessBytes) break;
    head.append(part.substr(0, kCharsetGuessBytes - head.size()));
  }
  return head;
}

// The tag as written into the page `kept` `lead` TAG `trail` `rest`, where `lead` and `trail`
// are the blanks and line ends written with it, and `slash` what stands before the tag's
// closing ">". A declared charset decides: UTF-8 and Windows-1252 (with ISO-8859-1) as they
// are, ASCII and every other charset with character references. Without a declaration, the
// tag is in UTF-8 when what stays of the page is valid UTF-8, otherwise in Windows-1252 unless
// the page with the tag, written either way, would be guessed to be in another charset
// (letters as Windows-1252 bytes could make it look so). Each choice depends only on the page
// as it will be, so writing the tag again over itself changes nothing.
std::string EncodedTag(std::string_view tag, std::string_view kept, std::string_view lead,
                       std::string_view trail, std::string_view rest, std::string_view slash,
                       PageTextEncoding& encoding) {
  const auto written = [&](PageTextEncoding how) {
    std::string encoded = TagForPage(tag, how);
    if (!slash.empty() && !encoded.empty() && encoded.back() == '>') {
      encoded.pop_back();
      encoded.append(slash).push_back('>');
    }
    return encoded;
  };
  const std::string declared = DeclaredCharset(HeadOf({kept, lead, trail, rest}));
  if (!declared.empty()) {
    encoding = !IsDefaultCharset(declared) || declared == "us-ascii" || declared == "ascii"
                   ? PageTextEncoding::Ascii
               : declared.starts_with("utf") || declared.starts_with("unicode")
                   ? PageTextEncoding::Utf8
                   : PageTextEncoding::Windows1252;
  } else if (IsValidUtf8(kept) && IsValidUtf8(rest)) {
    encoding = PageTextEncoding::Utf8;
  } else {
    // Letters as bytes only where neither way of writing them makes the page look like one in
    // another charset.
    std::string ascii = written(PageTextEncoding::Ascii);
    if (!ConversionCharset(HeadOf({kept, lead, ascii, trail, rest})).empty()) {
      encoding = PageTextEncoding::Ascii;
      return ascii;
    }
    std::string letters = written(PageTextEncoding::Windows1252);
    const bool guessed = !ConversionCharset(HeadOf({kept, lead, letters, trail, rest})).empty();
    encoding = guessed ? PageTextEncoding::Ascii : PageTextEncoding::Windows1252;
    return guessed ? ascii : letters;
  }
  return written(encoding);
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
    std::string_view slash;
    if (old.size() >= 3 && old[old.size() - 2] == '/')
      slash = old[old.size() - 3] == ' ' ? " /" : "/";
    result.inserted = EncodedTag(tag, page.substr(0, result.begin), {}, {}, page.substr(result.end),
                                 slash, result.encoding);
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
    // When "</head>" begins its line, the tag goes on a line of its own above it; when
    // something stands before "</head>" on its line, the tag gets a line between them.
    const bool ownLine = indentEnd == places.headEnd;
    result.begin = ownLine ? lineStart : places.headEnd;
    result.end = result.begin;
    std::string lead(ownLine ? std::string_view() : lineEnd);
    lead.append(indent);
    const std::string encoded = EncodedTag(tag, page.substr(0, result.begin), lead, lineEnd,
                                           page.substr(result.begin), {}, result.encoding);
    result.inserted.append(lead).append(encoded).append(lineEnd);
  } else {
    return result;
  }
  result.page.reserve(page.size() - (result.end - result.begin) + result.inserted.size());
  result.page.append(page.substr(0, result.begin))
      .append(result.inserted)
      .append(page.substr(result.end));
  // Browsers look for the charset in the first 1024 bytes: the page must keep reading as it did.
  if (DeclaredCharset(result.page) != DeclaredCharset(page)) {
    PageRewrite unchanged;
    unchanged.action = PageRewrite::Action::ChangesCharset;
    return unchanged;
  }
  return result;
}

}  // namespace tagwright

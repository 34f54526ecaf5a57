#include "scan/apply_tag.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "util/charset.h"
#include "util/text_encoding.h"
#include "util/utf8_text.h"

namespace tagwright {

namespace {

constexpr std::string_view kUtf8 = "utf-8";
constexpr std::string_view kWindows1252 = "windows-1252";
constexpr std::string_view kAscii = "us-ascii";

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// UTF-8 text in `charset`, with references for what it cannot hold.
std::string InCharset(std::string_view text, const std::string& charset) {
  if (charset == kUtf8) return std::string(text);
  if (charset == kWindows1252) return Utf8ToWindows1252(text);
  if (charset != kAscii) {
    if (std::optional<std::string> encoded = EncodeWithCharset(text, charset)) return *encoded;
  }
  return Utf8ToAscii(text);
}

// The first bytes (up to kCharsetGuessBytes) of the page made of `parts` one after the other.
std::string HeadOf(std::initializer_list<std::string_view> parts) {
  std::string head;
  for (std::string_view part : parts) {
    if (head.size() >= kCharsetGuessBytes) break;
    head.append(part.substr(0, kCharsetGuessBytes - head.size()));
  }
  return head;
}

}  // namespace

std::string PageTextToUtf8(std::string_view bytes, const std::string& charset) {
  if (charset == kUtf8 || charset == kWindows1252 || charset == kAscii) return ToUtf8(bytes);
  LineDecoder decoder(charset);
  if (!decoder.Ok()) return ToUtf8(bytes);
  std::string text(bytes);
  decoder.Decode(text);
  return text;
}

std::string_view PageLineEnd(std::string_view page) {
  const std::size_t end = page.find_first_of("\r\n");
  if (end == std::string_view::npos || page[end] == '\n') return "\n";
  if (end + 1 < page.size() && page[end + 1] == '\n') return "\r\n";
  return "\r";
}

std::string ContentForPage(std::string_view content, const std::string& charset) {
  std::string text;
  text.reserve(content.size());
  for (std::size_t i = 0; i < content.size(); ++i) {
    switch (content[i]) {
      case '"':
        text += "&quot;";
        break;
      case '<':
        text += "&lt;";
        break;
      case '>':
        text += "&gt;";
        break;
      case '&':
        // Only where it would begin a reference: before a letter, digit or "#".
        if (i + 1 < content.size() && (IsAsciiAlnum(content[i + 1]) || content[i + 1] == '#')) {
          text += "&amp;";
        } else {
          text += '&';
        }
        break;
      default:
        text.push_back(content[i]);
    }
  }
  return InCharset(text, charset);
}

std::string TagForPage(std::string_view tag, const std::string& charset) {
  // The tag is UTF-8 when it arrives; a stray byte in it is taken as Windows-1252.
  const std::string text = ToUtf8(tag);
  const std::size_t open = text.find("CONTENT=\"");
  const std::size_t close = text.rfind('"');
  if (open == std::string::npos || close == std::string::npos || close < open + 9) {
    return InCharset(text, charset);
  }
  const std::string_view whole(text);
  return InCharset(whole.substr(0, open + 9), charset) +
         ContentForPage(whole.substr(open + 9, close - open - 9), charset) +
         InCharset(whole.substr(close), charset);
}

PagePlan PlanRewrite(std::string_view page) {
  PagePlan plan;
  // A page of two- or four-byte characters, or in a charset whose bytes below 0x80 need not
  // be ASCII, is not rewritten byte by byte: it is left alone.
  const std::string pageCharset = ConversionCharset(page.substr(0, kCharsetGuessBytes));
  if (pageCharset.starts_with("utf-16") || pageCharset.starts_with("utf-32") ||
      pageCharset.starts_with("iso-2022") || pageCharset == "utf-7" ||
      pageCharset == "hz-gb-2312") {
    plan.action = PageRewrite::Action::WideCharset;
    plan.charset = pageCharset;
    return plan;
  }
  plan.head = LocateHead(page);
  if (!plan.head.hasHead) {
    plan.action =
        plan.head.tooLong ? PageRewrite::Action::HeadTooLong : PageRewrite::Action::NoHead;
    return plan;
  }
  std::string_view kept = page;
  std::string_view rest;
  if (!plan.head.keywordsTags.empty()) {
    plan.action = PageRewrite::Action::Replaced;
    const ByteSpan tag = plan.head.keywordsTags.front();
    kept = page.substr(0, tag.begin);
    rest = page.substr(tag.end);
  } else {
    plan.action = PageRewrite::Action::Inserted;
  }
  // Only what stays of the page decides, so that writing the tag again changes nothing.
  const std::string head = HeadOf({kept, rest});
  const std::string declared = DeclaredCharset(head);
  if (!declared.empty()) {
    if (!IsDefaultCharset(declared)) {
      plan.charset = EncodeWithCharset("", declared) ? declared : std::string(kAscii);
    } else if (declared == "us-ascii" || declared == "ascii") {
      plan.charset = kAscii;
    } else {
      plan.charset =
          declared.starts_with("utf") || declared.starts_with("unicode") ? kUtf8 : kWindows1252;
    }
  } else if (IsValidUtf8(kept) && IsValidUtf8(rest)) {
    plan.charset = kUtf8;
  } else {
    const std::string guess = GuessedNonLatinCharset(head);
    plan.charset =
        !guess.empty() && EncodeWithCharset("", guess) ? guess : std::string(kWindows1252);
    plan.guessed = true;
  }
  if (plan.action == PageRewrite::Action::Replaced) {
    const ByteSpan tag = plan.head.keywordsTags.front();
    plan.existingKeywords =
        MetaContent(PageTextToUtf8(page.substr(tag.begin, tag.end - tag.begin), plan.charset));
  }
  return plan;
}

PageRewrite RewritePage(std::string_view page, const PagePlan& plan, std::string_view tag) {
  PageRewrite result;
  result.action = plan.action;
  result.charset = plan.charset;
  std::string lead;
  std::string trail;
  std::string_view slash;
  if (plan.action == PageRewrite::Action::Replaced) {
    result.begin = plan.head.keywordsTags.front().begin;
    result.end = plan.head.keywordsTags.front().end;
    result.otherKeywordsTags = plan.head.keywordsTags.size() - 1;
    const std::string_view old = page.substr(result.begin, result.end - result.begin);
    if (old.size() >= 3 && old[old.size() - 2] == '/') {
      slash = old[old.size() - 3] == ' ' ? " /" : "/";
    }
  } else if (plan.action == PageRewrite::Action::Inserted) {
    const std::size_t at = plan.head.insertAt;
    const std::string lineEnd(PageLineEnd(page));
    std::size_t lineStart = at == 0 ? std::string_view::npos : page.find_last_of("\r\n", at - 1);
    lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    std::size_t indentEnd = lineStart;
    while (indentEnd < at && (page[indentEnd] == ' ' || page[indentEnd] == '\t')) ++indentEnd;
    const std::string_view indent = page.substr(lineStart, indentEnd - lineStart);
    if (plan.head.explicitEnd) {
      // When "</head>" begins its line, the tag goes on a line of its own above it; when
      // something stands before "</head>" on its line, the tag gets a line between them.
      const bool ownLine = indentEnd == at;
      result.begin = ownLine ? lineStart : at;
      if (!ownLine) lead = lineEnd;
      trail = lineEnd;
    } else {
      // After the head's last element, on a line of its own with that element's indentation;
      // what follows keeps its place.
      result.begin = at;
      lead = lineEnd;
    }
    lead.append(indent);
    result.end = result.begin;
  } else {
    return result;
  }

  std::string encoded = TagForPage(tag, result.charset);
  if (!slash.empty() && !encoded.empty() && encoded.back() == '>') {
    encoded.pop_back();
    encoded.append(slash).push_back('>');
  }
  const auto compose = [&] {
    result.inserted.clear();
    result.inserted.reserve(lead.size() + encoded.size() + trail.size());
    result.inserted.append(lead).append(encoded).append(trail);
  };
  compose();
  const std::string_view kept = page.substr(0, result.begin);
  const std::string_view rest = page.substr(result.end);
  // A guessed charset must stay the guess with the tag in it, or the page would read
  // differently: then the tag goes in ASCII.
  if (plan.guessed && result.charset != kAscii) {
    const std::string guess = GuessedNonLatinCharset(HeadOf({kept, result.inserted, rest}));
    if (guess != (result.charset == kWindows1252 ? std::string() : result.charset)) {
      result.charset = kAscii;
      encoded = TagForPage(tag, result.charset);
      if (!slash.empty() && !encoded.empty() && encoded.back() == '>') {
        encoded.pop_back();
        encoded.append(slash).push_back('>');
      }
      compose();
    }
  }
  result.page.reserve(kept.size() + result.inserted.size() + rest.size());
  result.page.append(kept).append(result.inserted).append(rest);
  // Browsers look for the charset in the first 1024 bytes: the page must keep reading as it did.
  if (DeclaredCharset(result.page) != DeclaredCharset(page)) {
    PageRewrite unchanged;
    unchanged.action = PageRewrite::Action::ChangesCharset;
    return unchanged;
  }
  return result;
}

PageRewrite RewritePage(std::string_view page, std::string_view tag) {
  return RewritePage(page, PlanRewrite(page), tag);
}

}  // namespace tagwright

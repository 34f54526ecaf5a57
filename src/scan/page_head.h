#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tagwright {

/// A run of a page's bytes, [begin, end).
struct ByteSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const ByteSpan&) const = default;
};

/// Where a page's head ends and which of its tags are keywords meta tags, as the HTML
/// standard's parser reads the page (with scripting on, as browsers run, so that <noscript> in
/// the head holds text).
struct HeadLayout {
  static constexpr std::size_t npos = std::string_view::npos;
  /// False when the page has no head that a tag could go into: no <head> start tag and no
  /// element of the head, or a head whose last element runs to the end of the page; also when
  /// where the head ends is not sure (a <template> in it holds a <noscript>).
  bool hasHead = false;
  /// True when the head runs on past the first MiB of the page: it is not read further.
  bool tooLong = false;
  /// Where a new tag goes: the head's end tag ("</head>" as written, in any case, with blanks
  /// before its ">") when the page has one, else the end of the head's last element (or of
  /// its <head> start tag when it has none).
  std::size_t insertAt = npos;
  bool explicitEnd = false;
  /// The head's <meta> start tags whose name attribute, ASCII blanks trimmed and letters
  /// lower-cased, is "keywords", in page order.
  std::vector<ByteSpan> keywordsTags;
};

/// Reads the head of `page` with gumbo's HTML parser. The page's bytes are handed over as they
/// are: in an ASCII-compatible charset, bytes from 0x80 up never change where a tag is, and
/// every position found is a byte offset into `page`. Only as much of a long page is parsed as
/// the head needs. Cost grows linearly with the page.
HeadLayout LocateHead(std::string_view page);

/// The value of the content attribute of the <meta> start tag `tag` (UTF-8), with its
/// character references decoded as HTML decodes them; empty when it has none.
std::string MetaContent(std::string_view tag);

}  // namespace tagwright

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tagwright {

/// How the letters of a tag are written into a page.
enum class PageTextEncoding { Utf8, Windows1252, Ascii };

/// What writing a keywords meta tag into a page did.
struct PageRewrite {
  /// NoHeadEnd and ChangesCharset leave the page alone: it has no "</head>", or the tag would
  /// change the charset that the page declares in its first 1024 bytes (by replacing the tag
  /// that declares it, or by pushing the declaration out of them).
  enum class Action { Replaced, Inserted, NoHeadEnd, ChangesCharset };
  Action action = Action::NoHeadEnd;
  /// The rewritten page (empty when the page is left alone).
  std::string page;
  /// The span [begin, end) of the old page that `inserted` took the place of; begin == end for
  /// an insertion. Every byte outside it is kept.
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string inserted;
  /// How the tag's letters were written.
  PageTextEncoding encoding = PageTextEncoding::Utf8;
};

/// Writes `tag` (UTF-8) into `page`: over the keywords meta tag that the existing-tag search
/// finds, or else on a line of its own just before "</head>", with the page's own line end
/// and the indentation of the line holding "</head>". The tag is written as TagForPage makes
/// it: as character references in ASCII when the page declares a charset of its own; in UTF-8
/// when what stays of the page is valid UTF-8; otherwise in Windows-1252, or in ASCII where the
/// page with the tag would be guessed to be in another charset. A replaced tag that was closed
/// with "/>" keeps that ending. Writing the tag again changes nothing.
PageRewrite RewritePage(std::string_view page, std::string_view tag);

/// `tag` as it is written into a page: a quotation mark or angle bracket inside its CONTENT
/// value (from the user's phrases) as a character reference, so the tag ends where it should;
/// then in `encoding`, with character references for what it cannot hold.
std::string TagForPage(std::string_view tag, PageTextEncoding encoding);

/// The page's first line end (CR LF, CR or LF); LF when it has none.
std::string_view PageLineEnd(std::string_view page);

}  // namespace tagwright

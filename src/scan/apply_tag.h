#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "scan/page_head.h"

namespace tagwright {

/// What writing a keywords meta tag into a page did, or why the page is left alone.
struct PageRewrite {
  /// NoHead: the page has no head for the tag (HeadTooLong: its head runs past the first MiB);
  /// WideCharset: it is in UTF-16, UTF-32 or a charset that is not ASCII-compatible (ISO-2022,
  /// UTF-7, HZ; `charset` says which), not rewritten byte by byte;
  /// ChangesCharset: the tag would change the charset that the page declares in its first
  /// 1024 bytes (by replacing the tag that declares it, or by pushing the declaration out).
  enum class Action { Replaced, Inserted, NoHead, HeadTooLong, WideCharset, ChangesCharset };
  Action action = Action::NoHead;
  /// The rewritten page (empty when the page is left alone).
  std::string page;
  /// The span [begin, end) of the old page that `inserted` took the place of; begin == end for
  /// an insertion. Every byte outside it is kept.
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string inserted;
  /// The charset the tag's letters are written in ("utf-8", "windows-1252", "us-ascii" or the
  /// page's own), or for WideCharset the page's.
  std::string charset;
  /// How many keywords tags of the head were left as they are after the first.
  std::size_t otherKeywordsTags = 0;
};

/// Where and how a tag would be written into a page, known before the tag is composed.
struct PagePlan {
  /// Replaced, Inserted, or the reason the page is left alone.
  PageRewrite::Action action = PageRewrite::Action::NoHead;
  HeadLayout head;
  /// The charset the tag is written in (see PageRewrite::charset).
  std::string charset;
  /// True when that charset was not declared: the page with the tag must still be guessed to
  /// be in it, else the tag is written in ASCII with character references.
  bool guessed = false;
  /// The keywords of the tag to be replaced, as UTF-8 text (its content attribute).
  std::string existingKeywords;
};

/// Finds the head and the keywords tag of `page` (LocateHead) and chooses the charset the tag
/// goes in: a declared charset (UTF-8 as it is, Windows-1252 for the charsets read as it, US-
/// ASCII with references, any other through iconv); without a declaration UTF-8 when what
/// stays of the page is valid UTF-8, else the charset guessed for a non-Latin script, else
/// Windows-1252. Only what stays of the page counts, so writing a tag again changes nothing.
PagePlan PlanRewrite(std::string_view page);

/// Writes `tag` (UTF-8) into `page` as `plan` says: over the head's first keywords tag, or
/// else on a line of its own before "</head>" (with the page's own line end and the
/// indentation of the line holding "</head>"), or, where the page leaves "</head>" out, after
/// the head's last element. A replaced tag that was closed with "/>" keeps that ending.
PageRewrite RewritePage(std::string_view page, const PagePlan& plan, std::string_view tag);

/// RewritePage(page, PlanRewrite(page), tag), written again in ASCII when the planned charset
/// turns out to change the page's guessed charset.
PageRewrite RewritePage(std::string_view page, std::string_view tag);

/// The text of a tag's content as written into a page in `charset`: a quotation mark, angle
/// bracket, or "&" that would begin a reference, as a character reference, so that the text
/// reads back as it was composed; then in the charset, with references for what it cannot
/// hold.
std::string ContentForPage(std::string_view content, const std::string& charset);

/// `tag` as it is written into a page: its CONTENT value as ContentForPage writes it, the rest
/// in `charset`.
std::string TagForPage(std::string_view tag, const std::string& charset);

/// A page's bytes as UTF-8: converted from `charset` (as PagePlan names it), or read the
/// default way (valid UTF-8 as it is, other bytes as Windows-1252).
std::string PageTextToUtf8(std::string_view bytes, const std::string& charset);

/// The page's first line end (CR LF, CR or LF); LF when it has none.
std::string_view PageLineEnd(std::string_view page);

}  // namespace tagwright

#include "scan/page_head.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace tagwright {

namespace {

// The first piece of a page that is parsed when the text gives no hint where the body begins,
// and how much longer each later piece is: the head is decided once the body has begun well
// before the piece's end. Small pieces keep the parse cheap, also for deeply nested markup
// after the head (which the parser handles in more than linear time).
constexpr std::size_t kFirstPiece = std::size_t{16} * 1024;
constexpr std::size_t kPieceStep = std::size_t{64} * 1024;
// How far before a piece's end the body must begin: a token cut by the piece's end could
// have ended the head differently.
constexpr std::size_t kCutMargin = 1024;
// A head longer than this is not read: the page is treated as having none.
constexpr std::size_t kMaxHeadBytes = std::size_t{1024} * 1024;
// How often a piece is parsed again after elements that hold text in a browser were renamed.
constexpr int kMaxRenameRounds = 4;

struct OutputDeleter {
  void operator()(GumboOutput* output) const {
    if (output != nullptr) gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};
using Tree = std::unique_ptr<GumboOutput, OutputDeleter>;

Tree Parse(std::string_view text) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // the parse errors are not needed: do not collect them
  return Tree(gumbo_parse_with_options(&options, text.data(), text.size()));
}

bool IsElement(const GumboNode* node) {
  return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

const GumboNode* ChildElement(const GumboNode* parent, GumboTag tag) {
  const GumboVector& children = parent->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (IsElement(child) && child->v.element.tag == tag) return child;
  }
  return nullptr;
}

// The html element's head, and where the body (or frameset) begins; `bodyBegin` is npos when
// the body began only at the end of the text or holds nothing.
struct TreeHead {
  const GumboNode* head = nullptr;
  std::size_t bodyBegin = HeadLayout::npos;
};

TreeHead FindHead(const GumboOutput& output, std::size_t length) {
  TreeHead found;
  const GumboNode* html = output.root;
  if (html == nullptr || !IsElement(html)) return found;
  found.head = ChildElement(html, GUMBO_TAG_HEAD);
  const GumboVector& children = html->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (!IsElement(child)) continue;
    const GumboTag tag = child->v.element.tag;
    if (tag != GUMBO_TAG_BODY && tag != GUMBO_TAG_FRAMESET) continue;
    // A body with nothing in it may have begun only where a token cut by the text's end
    // stands (a long tag after the head, say): it tells nothing yet.
    if (child->v.element.start_pos.offset < length && child->v.element.children.length > 0) {
      found.bodyBegin = child->v.element.start_pos.offset;
    }
    break;
  }
  return found;
}

std::size_t Offset(std::string_view text, const GumboStringPiece& piece) {
  return static_cast<std::size_t>(piece.data - text.data());
}

bool IsAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
           };
           return lower(x) == lower(y);
         });
}

// Whether `text` holds `lower`, a "<" and lower-case ASCII letters, in any case.
bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view lower) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (EqualsIgnoringAsciiCase(text.substr(at, lower.size()), lower)) return true;
  }
  return false;
}

// Where the end tag "</NAME" that ends raw text begins at or after `from`: followed by a
// blank, "/", ">" or the end of the text. npos when there is none.
std::size_t RawTextEnd(std::string_view text, std::string_view name, std::size_t from) {
  for (std::size_t at = text.find("</", from); at != std::string_view::npos;
       at = text.find("</", at + 2)) {
    if (!EqualsIgnoringAsciiCase(text.substr(at + 2, name.size()), name)) continue;
    const std::size_t after = at + 2 + name.size();
    if (after == text.size() || IsAsciiBlank(text[after]) || text[after] == '/' ||
        text[after] == '>') {
      return at;
    }
  }
  return std::string_view::npos;
}

// Where "<NAME" begins in the original text of a start tag named NAME. Gumbo counts the bytes
// of a dropped end tag just before it ("</>") into it; they are no part of the tag.
std::size_t TagStart(std::string_view tag, std::string_view name) {
  for (std::size_t at = tag.find('<'); at != std::string_view::npos; at = tag.find('<', at + 1)) {
    const std::size_t after = at + 1 + name.size();
    if (EqualsIgnoringAsciiCase(tag.substr(at + 1, name.size()), name) && after < tag.size() &&
        (IsAsciiBlank(tag[after]) || tag[after] == '/' || tag[after] == '>')) {
      return at;
    }
  }
  return 0;
}

// Browsers run scripts, so a <noscript> in the head holds text, as a <noframes> does; gumbo
// reads as a browser without scripts, where such text would end the head. A <template> in
// the head is read as text as well: its content is no part of the head, and it is the one
// head element that could hold deeply nested markup. Both names have eight letters, so the
// copy handed to the parser says "noframes" for them and every offset stays. True when a name
// was changed.
bool RenameTextHolders(std::string_view page, std::size_t parsedLength, const GumboNode* head,
                       std::string& copy, bool& unsure) {
  // The text the tree was parsed from (its first `parsedLength` bytes): the page, or the copy
  // with earlier names changed.
  const char* const parsed = copy.empty() ? page.data() : copy.data();
  bool renamed = false;
  std::size_t coveredTo = 0;
  const GumboVector& children = head->v.element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (!IsElement(child)) continue;
    const GumboElement& element = child->v.element;
    if (element.tag != GUMBO_TAG_NOSCRIPT && element.tag != GUMBO_TAG_TEMPLATE) continue;
    if (element.original_tag.length < 10) continue;  // made by the parser, not written
    const std::string_view name = element.tag == GUMBO_TAG_NOSCRIPT ? "noscript" : "template";
    const std::string_view tag(element.original_tag.data, element.original_tag.length);
    const std::size_t begin = element.start_pos.offset + TagStart(tag, name);
    if (begin < coveredTo || !EqualsIgnoringAsciiCase(page.substr(begin + 1, 8), name)) continue;
    const std::size_t end = RawTextEnd(page, name, begin + element.original_tag.length);
    // Within a template's content a <noscript> holds text as well (with scripting on), which
    // the parser reads as markup: where the template ends is then not known for sure.
    if (element.tag == GUMBO_TAG_TEMPLATE &&
        ContainsIgnoringAsciiCase(
            page.substr(begin + element.original_tag.length,
                        end == std::string_view::npos ? std::string_view::npos
                                                      : end - begin - element.original_tag.length),
            "<noscript")) {
      unsure = true;
      continue;
    }
    // A template's content is markup in a browser: "</template" within a quoted attribute
    // value, or in a tag that the page's end cuts off, ends nothing. Where the parsed text
    // reaches that far, its end is read as text only where the parser found its end tag too.
    const std::size_t parsedEnd =
        element.original_end_tag.length > 0
            ? static_cast<std::size_t>(element.original_end_tag.data - parsed)
            : std::string_view::npos;
    if (element.tag == GUMBO_TAG_TEMPLATE && end != parsedEnd &&
        (end < parsedLength || parsedLength == page.size())) {
      continue;
    }
    if (copy.empty()) copy.assign(page);
    copy.replace(begin + 1, 8, "noframes");
    if (end != std::string_view::npos) copy.replace(end + 2, 8, "noframes");
    coveredTo = end == std::string_view::npos ? copy.size() : end;
    renamed = true;
  }
  return renamed;
}

bool IsKeywordsMeta(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_META || element.original_tag.length == 0) return false;
  const GumboAttribute* name = gumbo_get_attribute(&element.attributes, "name");
  if (name == nullptr) return false;
  std::string_view value(name->value);
  while (!value.empty() && IsAsciiBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsAsciiBlank(value.back())) value.remove_suffix(1);
  return EqualsIgnoringAsciiCase(value, "keywords");
}

bool IsVoid(GumboTag tag) {
  return tag == GUMBO_TAG_META || tag == GUMBO_TAG_LINK || tag == GUMBO_TAG_BASE ||
         tag == GUMBO_TAG_BASEFONT || tag == GUMBO_TAG_BGSOUND;
}

HeadLayout Layout(std::string_view text, const GumboNode* head) {
  HeadLayout layout;
  if (head == nullptr) return layout;
  const GumboElement& element = head->v.element;
  std::size_t lastEnd = HeadLayout::npos;
  bool lastOpen = false;
  const GumboVector& children = element.children;
  for (unsigned i = 0; i < children.length; ++i) {
    const auto* child = static_cast<const GumboNode*>(children.data[i]);
    if (!IsElement(child)) continue;
    const GumboElement& e = child->v.element;
    if (e.original_tag.length == 0) continue;
    const std::size_t begin = Offset(text, e.original_tag);
    if (IsKeywordsMeta(e)) {
      layout.keywordsTags.push_back(
          {begin + TagStart(text.substr(begin, e.original_tag.length), "meta"),
           begin + e.original_tag.length});
    }
    if (e.original_end_tag.length > 0) {
      lastEnd = Offset(text, e.original_end_tag) + e.original_end_tag.length;
      lastOpen = false;
    } else {
      lastEnd = begin + e.original_tag.length;
      lastOpen = !IsVoid(e.tag);  // runs on to the end of the page
    }
  }
  std::sort(layout.keywordsTags.begin(), layout.keywordsTags.end(),
            [](const ByteSpan& a, const ByteSpan& b) { return a.begin < b.begin; });
  if (element.original_end_tag.length > 0) {
    layout.hasHead = true;
    layout.explicitEnd = true;
    layout.insertAt = Offset(text, element.original_end_tag);
  } else if (lastEnd != HeadLayout::npos) {
    layout.hasHead = !lastOpen;
    if (layout.hasHead) layout.insertAt = lastEnd;
  } else if (element.original_tag.length > 0) {
    layout.hasHead = true;
    layout.insertAt = Offset(text, element.original_tag) + element.original_tag.length;
  }
  if (!layout.hasHead) layout.keywordsTags.clear();
  return layout;
}

// How much of the page to parse first: up to a little past the first "<body" or "</head" in
// the text, which is where the body begins on most pages. Only a hint: a wrong one costs
// another parse of a longer piece, never a wrong result.
std::size_t FirstPiece(std::string_view page) {
  const std::string_view text = page.substr(0, kMaxHeadBytes);
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (EqualsIgnoringAsciiCase(text.substr(at + 1, 4), "body") ||
        EqualsIgnoringAsciiCase(text.substr(at + 1, 5), "/head")) {
      return at + 2 * kCutMargin;
    }
  }
  return kFirstPiece;
}

HeadLayout LocateHeadAfterMark(std::string_view page) {
  std::string copy;     // made once a name must be changed
  bool unsure = false;  // the head's end depends on what the parser cannot read as browsers do
  std::size_t length = std::min(page.size(), FirstPiece(page));
  for (;;) {
    Tree tree;
    TreeHead found;
    for (int round = 0;; ++round) {
      const std::string_view text = std::string_view(copy.empty() ? page : copy).substr(0, length);
      tree = Parse(text);
      found = FindHead(*tree, length);
      if (found.head == nullptr || round == kMaxRenameRounds ||
          !RenameTextHolders(page, length, found.head, copy, unsure)) {
        break;
      }
    }
    if (unsure) return HeadLayout{};
    const bool decided = length == page.size() || (found.bodyBegin != HeadLayout::npos &&
                                                   found.bodyBegin + kCutMargin <= length);
    if (decided) {
      const std::string_view text = copy.empty() ? page : std::string_view(copy);
      return Layout(text, found.head);
    }
    if (length >= kMaxHeadBytes) {
      HeadLayout layout;
      layout.tooLong = true;
      return layout;
    }
    length = std::min(page.size(), std::min(length * 2, length + kPieceStep));
  }
}

}  // namespace

HeadLayout LocateHead(std::string_view page) {
  // A UTF-8 byte order mark is no text of the page (the parser would take it for some).
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  if (!page.starts_with(kMark)) return LocateHeadAfterMark(page);
  HeadLayout layout = LocateHeadAfterMark(page.substr(kMark.size()));
  if (layout.insertAt != HeadLayout::npos) layout.insertAt += kMark.size();
  for (ByteSpan& tag : layout.keywordsTags) {
    tag.begin += kMark.size();
    tag.end += kMark.size();
  }
  return layout;
}

std::string MetaContent(std::string_view tag) {
  const Tree tree = Parse(tag);
  const TreeHead found = FindHead(*tree, tag.size());
  const GumboNode* meta =
      found.head == nullptr ? nullptr : ChildElement(found.head, GUMBO_TAG_META);
  if (meta == nullptr) return {};
  const GumboAttribute* content = gumbo_get_attribute(&meta->v.element.attributes, "content");
  return content == nullptr ? std::string() : std::string(content->value);
}

}  // namespace tagwright

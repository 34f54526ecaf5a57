#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "util/settings.h"
#include "words/ranked_word.h"

namespace tagwright {

struct MetaTag {
  /// The whole result text: the tag, two line breaks and the two statistics lines (CR LF),
  /// or the no-words message when the table is empty.
  std::string text;
  /// The tag alone, without its statistics lines (empty when the table is empty).
  std::string tag;
  /// The "Begin meta tag with:" text without leading and trailing blanks, for the box; the
  /// untouched text when the table is empty.
  std::string beginWithText;
  bool noWords = false;
  std::int64_t keywordCount = 0;
  std::int64_t tagLength = 0;
};

/// Reads a limit box's text: its leading number rounded half to even; 0 or less is no limit.
std::int64_t ReadLimit(std::string_view text);

/// How many bytes a piece of a tag's content takes as written; empty for its UTF-8 length.
using TagMeasure = std::function<std::size_t(std::string_view)>;

/// Composes `<META NAME="keywords" CONTENT="...">` from the user's phrases and the best words
/// within the keyword and byte limits, followed by its statistics lines. `keptKeywords`
/// (UTF-8, comma-separated) come first, as they are spelt, before the phrases; `measure`
/// counts the bytes (the opening counts its 31 characters).
MetaTag GenerateMetaTag(const RankedWords& words, const MetaTagRequest& request,
                        const AnalysisSettings& settings, std::string_view keptKeywords = {},
                        const TagMeasure& measure = {});

/// The keywords of a tag's content, each trimmed of blanks, empty ones left out, joined by ",".
std::string KeywordsList(std::string_view content);

}  // namespace tagwright

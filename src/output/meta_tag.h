#pragma once

#include <cstdint>
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

/// Composes `<META NAME="keywords" CONTENT="...">` from the user's phrases and the best words
/// within the keyword and byte limits, followed by its statistics lines.
MetaTag GenerateMetaTag(const RankedWords& words, const MetaTagRequest& request,
                        const AnalysisSettings& settings);

}  // namespace tagwright

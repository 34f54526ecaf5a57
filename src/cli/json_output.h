#pragma once

#include <string>
#include <string_view>

#include "output/meta_tag.h"
#include "words/ranked_word.h"

namespace tagwright::cli {

/// `text` as a JSON string literal (UTF-8 passes through; control characters are escaped).
std::string JsonString(std::string_view text);

/// {"file":..., "words":[{"rank":..,"word":..,"value":..,"frequency":..}...]} and, when no word
/// qualifies, "message" with the no-words sentence.
std::string WordListJson(const std::string& file, const RankedWords& words,
                         const std::string& noWordsMessage);

/// {"file":..., "tag":..., "keywords":.., "bytes":..}, or "message" when no word qualifies.
std::string MetaTagJson(const std::string& file, const MetaTag& tag);

/// {"file":..., "text":...} for the existing-tag lookup.
std::string ExistingJson(const std::string& file, const std::string& text);

}  // namespace tagwright::cli

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/meta_tag.h"
#include "scan/existing_tag.h"
#include "words/ranked_word.h"

namespace tagwright::cli {

/// `text` as a JSON string literal: control characters escaped, and every byte that is not
/// part of well-formed UTF-8 replaced by U+FFFD, so the output is always valid UTF-8.
std::string JsonString(std::string_view text);

/// `bytes` in base64 (RFC 4648, with padding).
std::string Base64(std::string_view bytes);

/// "file":NAME, and when the name is not UTF-8, also "file_base64" with its exact bytes.
std::string JsonFileFields(std::string_view file);

/// {"file":..., "words":[{"rank":..,"word":..,"value":..,"frequency":..}...]} and, when no word
/// qualifies, "message" with the no-words sentence.
std::string WordListJson(std::string_view file, const RankedWords& words,
                         const std::string& noWordsMessage);

/// {"file":..., "tag":..., "keywords":.., "bytes":..}, or "message" when no word qualifies.
std::string MetaTagJson(std::string_view file, const MetaTag& tag);

/// {"file":..., "action":ACTION, "tag":..., "keywords":.., "bytes":..} for the tag that apply
/// wrote (ACTION is "inserted", "replaced" or "unchanged"), with "diff" when a dry run gives
/// one; ends the line.
std::string ApplyJson(std::string_view file, std::string_view action, const MetaTag& tag,
                      std::optional<std::string_view> diff);

/// {"file":..., "found":true|false, "tag":...} for the existing-tag search ("" when none).
std::string ExistingJson(std::string_view file, const ExistingTag& found);

/// {"site_furniture":[WORD...],"pages":N}: the words that --site dropped from the rankings of
/// the N pages it read.
std::string SiteFurnitureJson(const std::vector<std::string>& words, std::size_t pages);

}  // namespace tagwright::cli

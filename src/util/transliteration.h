#pragma once

#include <string_view>

namespace tagwright {

/// The plain a-to-z spelling of a Latin letter: "e" for e-acute, "ue" for u-umlaut, "ss" for
/// the sharp s, "o" for o-stroke, "th" for thorn; the same for a capital as for its small
/// letter. Empty for every other code point. Never longer than the letter's UTF-8 form.
std::string_view TransliterateLetter(char32_t codePoint);

}  // namespace tagwright

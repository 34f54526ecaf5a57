#pragma once

#include <string>
#include <string_view>

namespace tagwright {

/// `text` lower-cased by Unicode's rules when it is valid UTF-8 ("CAFÉ" gives "café");
/// otherwise only the letters A to Z are lower-cased.
std::string LowerCaseUtf8(std::string_view text);

/// Number of characters (code points) in UTF-8 text.
std::size_t CharacterCount(std::string_view text);

}  // namespace tagwright

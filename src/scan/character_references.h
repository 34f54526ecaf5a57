#pragma once

#include <string>

namespace tagwright {

/// Decodes, left to right in one pass, every character reference of a lower-cased line: the
/// named ones of HTML (with their ";", and the few that HTML also knows without it, longest
/// first) and the numeric ones ("&#233;", "&#xe9;"). A reference to a letter becomes its plain
/// spelling ("e", "ue", "th"); any other becomes a blank, never the character itself, so no
/// reference can make a tag. Text that is not a reference stays.
void DecodeCharacterReferences(std::string& line);

}  // namespace tagwright

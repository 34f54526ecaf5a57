#pragma once

#include <string>

namespace tagwright {

/// The result text of "Show existing  keywords" for a file that exists: "Existing keyword
/// meta tag:", CR LF and the lower-cased line from its first "<meta " on; "No keyword meta tag
/// found."; or "Error when looking for keywords meta tag." when the file cannot be read. The
/// shown text is UTF-8 (document bytes that are not valid UTF-8 are read as Windows-1252).
std::string ShowExistingKeywordMetaTag(const std::string& path);

}  // namespace tagwright

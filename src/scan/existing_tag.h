#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tagwright {

/// What the search for a page's own keywords meta tag found.
struct ExistingTag {
  enum class Status { Found, NotFound, Error };
  Status status = Status::NotFound;
  /// When found: the lower-cased, stripped line from its first "<meta " on, as UTF-8 (document
  /// bytes that are not valid UTF-8 are read as Windows-1252); in the modern reading the tag
  /// itself as the page writes it, converted to UTF-8.
  std::string tag;
  /// When the file could not be read: a plain description of the failure.
  std::string error;
};

/// Reads the head of the file at `path` line by line, up to the line holding "</head>", for a
/// line with "<meta " and the quoted word "keywords" (all compared in lower case).
ExistingTag FindExistingKeywordMetaTag(const std::string& path);

/// The same search in a page held in memory.
ExistingTag FindExistingKeywordMetaTagInText(std::string_view page);

/// The modern reading's search: the keywords meta tag that apply would replace (the head's
/// first, as the HTML parser finds it), whole even across lines, in the page's own letters as
/// UTF-8.
ExistingTag FindKeywordsTagAsApplyDoes(std::string_view page);

/// The same for the file at `path`, read whole.
ExistingTag FindKeywordsTagAsApplyDoesInFile(const std::string& path);

/// The search of the reading `modern` chooses, for the file at `path`.
ExistingTag FindExistingKeywordsTag(const std::string& path, bool modern);

/// The result text of "Show existing  keywords" for a search: "Existing keyword meta tag:",
/// CR LF and the tag; "No keyword meta tag found."; or "Error when looking for keywords meta
/// tag.".
std::string ExistingTagText(const ExistingTag& found);

/// ExistingTagText(FindExistingKeywordsTag(path, modern)).
std::string ShowExistingKeywordMetaTag(const std::string& path, bool modern = false);

}  // namespace tagwright

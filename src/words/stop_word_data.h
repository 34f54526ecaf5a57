#pragma once

#include <span>
#include <string_view>

namespace tagwright {

/// One language's list as compiled in from data/stopwords: `words` is the file's text, one
/// word per line.
struct StopWordList {
  std::string_view language;  // the ISO 639-1 code, lower case
  std::string_view words;
};

/// Every compiled-in list; written by the build from data/stopwords/*.txt.
std::span<const StopWordList> StopWordLists();

}  // namespace tagwright

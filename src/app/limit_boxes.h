#pragma once

#include <string>

// The checks of the window's two limit boxes, and the messages they show.

namespace tagwright {

/// The check of the "Max. number of keywords in meta tag:" box when it is left: filters the
/// text in place; when its value is out of range, puts "50" back and returns the message
/// ("Maximum number of keywords in the meta tag is 100." or the minimum one). "" when the
/// text stands.
std::string CheckMaxNumKeywords(std::string& text);

/// The same for "Max. number of bytes in meta tag:" (at most 1000, no lower bound, "500").
std::string CheckMaxNumBytes(std::string& text);

}  // namespace tagwright

#pragma once

#include <cstddef>
#include <string_view>

namespace tagwright {

/// Cuts text held in memory into lines as LineReader cuts a file: CR LF, CR and LF alone each
/// end a line, the terminator is not part of the line, and text after the last terminator is
/// a line of its own.
class TextLines {
 public:
  explicit TextLines(std::string_view text) : text_(text) {}

  /// The next line and where it begins in the text; false at the end.
  bool Next(std::string_view& line, std::size_t& begin) {
    if (pos_ >= text_.size()) return false;
    begin = pos_;
    std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(begin, end - begin);
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_++] == '\r' && pos_ < text_.size() &&
        text_[pos_] == '\n') {
      ++pos_;
    }
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace tagwright

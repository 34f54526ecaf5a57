#pragma once

#include <algorithm>
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
    // The next CR and LF are remembered, so a text with few of one kind is searched once.
    const std::size_t end = std::min(NextOf('\n', lf_), NextOf('\r', cr_));
    line = text_.substr(begin, end - begin);
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_++] == '\r' && pos_ < text_.size() &&
        text_[pos_] == '\n') {
      ++pos_;
    }
    return true;
  }

 private:
  std::size_t NextOf(char c, std::size_t& cached) const {
    if (cached == kUnknown || cached < pos_) cached = std::min(text_.find(c, pos_), text_.size());
    return cached;
  }

  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t lf_ = kUnknown;
  std::size_t cr_ = kUnknown;
};

}  // namespace tagwright

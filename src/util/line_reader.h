#pragma once

#include <cstdio>
#include <string>

namespace tagwright {

/// Reads a file as bytes, line by line. CR LF, CR and LF alone each end a line; the
/// terminator is not part of the line. Memory is bounded by the longest line.
class LineReader {
 public:
  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  /// Opens `path` for reading; false (with Error() set) on failure.
  bool Open(const std::string& path);
  /// Reads `file` from its current position on; the reader owns it from now on.
  void Adopt(std::FILE* file);
  /// Reads the lines of `text` instead of a file.
  void OpenText(std::string text);
  /// Reads the next line into `line`; false at the end of the file or on a read error.
  bool Next(std::string& line);
  /// Non-empty after a failed open or read: a plain description of the failure.
  const std::string& Error() const { return error_; }
  void Close();

 private:
  /// Closes the file and forgets everything read: the start of every Open, Adopt, OpenText.
  void Reset();
  bool Fill();
  /// Gives the line [begin_, end) to `line` and moves on to `next`.
  void HandOut(std::string& line, std::size_t end, std::size_t next);
  /// Position of the next `c` at or after `from` in the buffer (its size when none).
  std::size_t NextOf(char c, std::size_t& cached, std::size_t from) const;

  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);

  std::FILE* file_ = nullptr;
  std::string buffer_;
  std::size_t filled_ = 0;  // the bytes of buffer_ read from the file; the rest is room
  std::size_t begin_ = 0;
  bool eof_ = false;
  std::size_t unread_ = 0;         // the bytes of the file not yet read, as far as known
  std::size_t nextLf_ = kUnknown;  // remembered search results, reset when the buffer changes
  std::size_t nextCr_ = kUnknown;
  std::string error_;
};

}  // namespace tagwright

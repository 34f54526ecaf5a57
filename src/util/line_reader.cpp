#include "util/line_reader.h"

#include <cerrno>
#include <cstring>

namespace tagwright {

namespace {
constexpr std::size_t kChunk = 1 << 16;
}

LineReader::~LineReader() { Close(); }

bool LineReader::Open(const std::string& path) {
  Close();
  buffer_.clear();
  begin_ = 0;
  eof_ = false;
  error_.clear();
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    error_ = "Cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void LineReader::Close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

bool LineReader::Fill() {
  if (eof_ || file_ == nullptr) return false;
  // Drop what has been handed out before growing the buffer, so it holds at most the
  // current line and one chunk.
  if (begin_ > 0) {
    buffer_.erase(0, begin_);
    begin_ = 0;
  }
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  const std::size_t got = std::fread(buffer_.data() + old, 1, kChunk, file_);
  buffer_.resize(old + got);
  if (got < kChunk) {
    if (std::ferror(file_)) {
      error_ = std::string("Cannot read the file: ") + std::strerror(errno);
    }
    eof_ = true;
  }
  return got > 0;
}

bool LineReader::Next(std::string& line) {
  if (!error_.empty()) return false;
  std::size_t scanned = begin_;  // everything before this has no line end
  for (;;) {
    std::size_t end = scanned;
    while (end < buffer_.size() && buffer_[end] != '\r' && buffer_[end] != '\n') ++end;
    if (end < buffer_.size()) {
      // A CR at the end of the buffer may be followed by an LF in the next chunk.
      if (buffer_[end] == '\r' && end + 1 == buffer_.size() && !eof_) {
        const std::size_t offset = end - begin_;
        Fill();
        if (!error_.empty()) return false;
        scanned = begin_ + offset;
        continue;
      }
      line.assign(buffer_, begin_, end - begin_);
      std::size_t next = end + 1;
      if (buffer_[end] == '\r' && next < buffer_.size() && buffer_[next] == '\n') ++next;
      begin_ = next;
      return true;
    }
    if (eof_) {
      if (begin_ >= buffer_.size()) return false;
      line.assign(buffer_, begin_, buffer_.size() - begin_);
      begin_ = buffer_.size();
      return true;
    }
    const std::size_t offset = end - begin_;
    Fill();
    if (!error_.empty()) return false;
    scanned = begin_ + offset;
  }
}

}  // namespace tagwright

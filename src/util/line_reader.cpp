#include "util/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "util/large_allocator.h"

namespace tagwright {

namespace {
constexpr std::size_t kChunk = 1 << 16;
}

LineReader::~LineReader() { Close(); }

void LineReader::Reset() {
  Close();
  buffer_.clear();
  filled_ = 0;
  begin_ = 0;
  nextLf_ = nextCr_ = kUnknown;
  eof_ = false;
  unread_ = 0;
  error_.clear();
}

bool LineReader::Open(const std::string& path) {
  Reset();
  // Only a regular file is read: opening a FIFO would wait for a writer, and a device such as
  // /dev/zero never ends. The open does not wait, and the test is made on what was opened, so
  // a file swapped for something else after an earlier check is refused too.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_ = "Cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
      (file_ = ::fdopen(fd, "rb")) == nullptr) {
    ::close(fd);
    error_ = "Cannot open " + path + ": not a regular file";
    return false;
  }
  unread_ = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
  return true;
}

void LineReader::Adopt(std::FILE* file) {
  Reset();
  file_ = file;
}

void LineReader::OpenText(std::string text) {
  Reset();
  buffer_ = std::move(text);
  filled_ = buffer_.size();
  eof_ = true;  // all there is stands in the buffer
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
    std::memmove(buffer_.data(), buffer_.data() + begin_, filled_ - begin_);
    filled_ -= begin_;
    begin_ = 0;
  }
  const std::size_t old = filled_;
  nextLf_ = nextCr_ = kUnknown;
  if (buffer_.capacity() < old + kChunk) {
    // A long line grows the buffer eightfold, but never much beyond what is left of the file:
    // the rest of a 20 MB one-line page needs 20 MB, not 32. Room reserved is not memory used
    // until it is read into, so the large steps cost nothing but spare the copies and page
    // faults of many small ones. The chunk to spare is for the last read, which finds the
    // file's end (and holds the closing blank the scanner appends): without it, that read
    // would grow the buffer once more and copy the whole line.
    std::size_t capacity = std::max(8 * buffer_.capacity(), old + kChunk);
    if (unread_ > 0) capacity = std::min(capacity, old + unread_ + kChunk);
    std::string grown;
    grown.reserve(capacity);
    // A buffer of megabytes is written once from end to end: huge pages spare the thousands of
    // page faults of small ones.
    AdviseHugePages(grown.data(), grown.capacity());
    grown.append(buffer_, 0, old);
    buffer_.swap(grown);
  }
  // The string keeps the size it once had beyond the bytes read, so that room read into again
  // is not cleared first.
  if (buffer_.size() < old + kChunk) buffer_.resize(old + kChunk);
  const std::size_t got = std::fread(buffer_.data() + old, 1, kChunk, file_);
  filled_ = old + got;
  unread_ -= std::min(unread_, got);
  if (got < kChunk) {
    if (std::ferror(file_)) {
      error_ = std::string("Cannot read the file: ") + std::strerror(errno);
    }
    eof_ = true;
  }
  return got > 0;
}

std::size_t LineReader::NextOf(char c, std::size_t& cached, std::size_t from) const {
  // The remembered position stays right until the buffer changes, so a file with only one
  // kind of line end is not searched to the buffer's end for the other kind at every line.
  if (cached == kUnknown || cached < from) {
    const void* hit =
        from < filled_ ? std::memchr(buffer_.data() + from, c, filled_ - from) : nullptr;
    cached = hit == nullptr
                 ? filled_
                 : static_cast<std::size_t>(static_cast<const char*>(hit) - buffer_.data());
  }
  return cached;
}

bool LineReader::Next(std::string& line) {
  if (!error_.empty()) return false;
  std::size_t scanned = begin_;  // everything before this has no line end
  for (;;) {
    const std::size_t end =
        std::min(NextOf('\n', nextLf_, scanned), NextOf('\r', nextCr_, scanned));
    if (end < filled_) {
      // A CR at the end of the buffer may be followed by an LF in the next chunk.
      if (buffer_[end] == '\r' && end + 1 == filled_ && !eof_) {
        const std::size_t offset = end - begin_;
        Fill();
        if (!error_.empty()) return false;
        scanned = begin_ + offset;
        continue;
      }
      std::size_t next = end + 1;
      if (buffer_[end] == '\r' && next < filled_ && buffer_[next] == '\n') ++next;
      HandOut(line, end, next);
      return true;
    }
    if (eof_) {
      if (begin_ >= filled_) return false;
      HandOut(line, filled_, filled_);
      return true;
    }
    const std::size_t offset = end - begin_;
    Fill();
    if (!error_.empty()) return false;
    scanned = begin_ + offset;
  }
}

}  // namespace tagwright

namespace tagwright {

void LineReader::HandOut(std::string& line, std::size_t end, std::size_t next) {
  if (end - begin_ <= kChunk) {
    // One byte to spare: the scanner appends a closing blank to every line.
    line.reserve(end - begin_ + 1);
    line.assign(buffer_, begin_, end - begin_);
    begin_ = next;
    return;
  }
  // A line longer than a chunk fills most of the buffer: the buffer itself becomes the line,
  // and what follows the line (less than a chunk) goes to a new buffer.
  std::string rest(buffer_, next, filled_ - next);
  line.swap(buffer_);
  line.resize(end);
  line.erase(0, begin_);
  buffer_.swap(rest);
  filled_ = buffer_.size();
  begin_ = 0;
  nextLf_ = nextCr_ = kUnknown;
}

}  // namespace tagwright

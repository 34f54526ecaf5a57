// The least work an analysis of a page's words must do, as a yardstick for its speed: read the
// file, pass over tags, lower-case the letters a to z and split them into words, and (unless
// --split) count each word in a hash table. No charset, references, weights, filters, plural
// merging or other scripts. See bench/README.md.
//
//   g++ -O3 -std=c++20 -o /tmp/skeleton bench/skeleton.cpp
//   /tmp/skeleton [--split] PAGE      # prints the words and the distinct words
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

class Counts {
 public:
  void Count(std::string_view word) {
    std::uint64_t hash = 1469598103934665603u;  // FNV-1a
    for (const char c : word) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    hash ^= hash >> 32;  // the low bits, which pick the slot, from all of them
    hash *= 0x9E3779B97F4A7C15u;
    hash ^= hash >> 29;
    if (2 * (used_ + 1) > slots_.size()) Grow();
    Slot& slot = Find(hash, word);
    if (slot.count == 0) {
      slot = {hash, static_cast<std::uint32_t>(text_.size()),
              static_cast<std::uint32_t>(word.size()), 0};
      text_.append(word);
      ++used_;
    }
    ++slot.count;
  }
  std::size_t Distinct() const { return used_; }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t at = 0;
    std::uint32_t length = 0;
    std::uint64_t count = 0;
  };
  Slot& Find(std::uint64_t hash, std::string_view word) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.count == 0) return slot;
      if (slot.hash == hash && std::string_view(text_).substr(slot.at, slot.length) == word) {
        return slot;
      }
    }
  }
  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (slot.count == 0) continue;
      std::size_t i = slot.hash & mask;
      while (slots_[i].count != 0) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  std::vector<Slot> slots_ = std::vector<Slot>(1 << 12);
  std::size_t used_ = 0;
  std::string text_;
};

}  // namespace

int main(int argc, char** argv) {
  const bool split = argc == 3 && std::strcmp(argv[1], "--split") == 0;
  if (argc != (split ? 3 : 2)) {
    std::fprintf(stderr, "usage: skeleton [--split] PAGE\n");
    return 2;
  }
  const int fd = open(argv[argc - 1], O_RDONLY);
  if (fd < 0) {
    std::perror(argv[argc - 1]);
    return 1;
  }
  std::vector<char> buffer(1 << 16);
  Counts counts;
  std::string word;
  std::uint64_t words = 0;
  bool inTag = false;
  const auto end = [&] {
    if (word.empty()) return;
    ++words;
    if (!split) counts.Count(word);
    word.clear();
  };
  for (ssize_t got; (got = read(fd, buffer.data(), buffer.size())) > 0;) {
    for (ssize_t i = 0; i < got; ++i) {
      const auto c = static_cast<unsigned char>(buffer[i]);
      if (inTag) {
        inTag = c != '>';
      } else if (c == '<') {
        end();
        inTag = true;
      } else if (const unsigned lower = c | 0x20u; lower >= 'a' && lower <= 'z') {
        word.push_back(static_cast<char>(lower));
      } else {
        end();
      }
    }
  }
  end();
  close(fd);
  std::printf("%llu words, %zu distinct\n", static_cast<unsigned long long>(words),
              counts.Distinct());
  return 0;
}

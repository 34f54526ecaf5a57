#include "output/word_list.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "util/str_proc.h"

namespace tagwright {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

/// Writes `value` in decimal, right-aligned in `width` characters (wider numbers overflow),
/// and returns the end of what was written.
char* PutRight(char* out, std::int64_t value, std::size_t width) {
  if (value < 0) {
    char digits[24];
    const auto length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    for (; width > length; --width) *out++ = ' ';
    std::memcpy(out, digits, length);
    return out + length;
  }
  // A list has a row for every word: its few digits are written in place, without calls.
  const auto number = static_cast<std::uint64_t>(value);
  std::size_t length = 1;
  for (std::uint64_t rest = number / 10; rest != 0; rest /= 10) ++length;
  for (; width > length; --width) *out++ = ' ';
  char* digit = out + length;
  std::uint64_t rest = number;
  do {
    *--digit = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  return out + length;
}

std::size_t DigitCount(std::int64_t value) { return std::to_string(value).size(); }

}  // namespace

std::string ShowNoWordsMessage(int shortWordSize, int thresholdFrequency) {
  std::string text = "No words with more than " + std::to_string(shortWordSize) + " letter";
  if (shortWordSize >= 2) text += "s";
  text += " occur at least ";
  if (thresholdFrequency == 1) {
    text += "once.";
  } else if (thresholdFrequency == 2) {
    text += "twice.";
  } else {
    text += std::to_string(thresholdFrequency) + " times.";
  }
  return text;
}

void WriteWordList(const RankedWords& words, const AnalysisSettings& settings,
                   std::string_view lineBreak, const std::function<void(std::string_view)>& write) {
  if (words.empty()) {
    write(ShowNoWordsMessage(settings.ShortWordSize(), settings.ThresholdFrequency()));
    return;
  }
  const auto intNumWords = static_cast<std::int64_t>(words.size());
  const std::size_t rankWidth = std::max<std::size_t>(4, DigitCount(intNumWords));
  std::int64_t highestFrequency = 0;
  for (const RankedWord& w : words) highestFrequency = std::max(highestFrequency, w.frequency);
  // Sized by the highest frequency so that five or more digits keep the columns apart.
  const std::size_t frequencyWidth = std::max<std::size_t>(4, DigitCount(highestFrequency));

  // Rows are gathered in a buffer of about 64 KiB and handed on when it is full.
  constexpr std::size_t kFlushAt = 1 << 16;
  std::string buffer;
  buffer.reserve(kFlushAt + 256);
  buffer += "Rank Value Frequency";
  buffer += lineBreak;
  bool noteWritten = false;
  for (std::int64_t rank = 1; rank <= intNumWords; ++rank) {
    const RankedWord& w = words[static_cast<std::size_t>(rank - 1)];
    const std::int64_t value = RoundHalfEven(w.keyValue);
    if (value == 0) {
      if (!noteWritten) {
        buffer += lineBreak;
        buffer += "Words with key value 0 not shown.";
        buffer += lineBreak;
        noteWritten = true;
      }
      continue;
    }
    // Numbers take at most 20 characters each; the row is put together on the stack.
    char row[96];
    char* out = PutRight(row, rank, rankWidth);
    *out++ = ' ';
    out = PutRight(out, value, 5);
    *out++ = ' ';
    out = PutRight(out, w.frequency, frequencyWidth);
    *out++ = ' ';
    buffer.append(row, static_cast<std::size_t>(out - row));
    buffer += w.word;
    buffer += lineBreak;
    if (buffer.size() >= kFlushAt) {
      write(buffer);
      buffer.clear();
    }
  }
  write(buffer);
}

std::string ShowWordList(const RankedWords& words, const AnalysisSettings& settings) {
  std::string text;
  WriteWordList(words, settings, kLineBreak, [&text, &words](std::string_view part) {
    // The first part is at most one buffer: the rest then comes in without copying the text
    // as it grows.
    if (text.empty()) {
      std::size_t size = part.size();
      for (const RankedWord& w : words) size += w.word.size() + 40;
      text.reserve(size);
    }
    text += part;
  });
  return text;
}
}  // namespace tagwright

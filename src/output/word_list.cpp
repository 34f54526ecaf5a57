#include "output/word_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "util/str_proc.h"

namespace tagwright {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Room that PutRight may write beyond what it puts.
constexpr std::size_t kPutSlack = 24;

/// The number of decimal digits of `n`.
std::size_t DecimalLength(std::uint64_t n) {
  static constexpr std::array<std::uint64_t, 20> kPowers = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
      p = power;
      power *= 10;
    }
    return powers;
  }();
  // 1233 / 4096 is just above log10(2).
  const auto guess = static_cast<std::size_t>(std::bit_width(n | 1) * 1233 >> 12);
  return guess + 1 - (n < kPowers[guess] ? 1 : 0);
}

/// Writes `value` in decimal, right-aligned in `width` characters (at most 20; wider numbers
/// overflow), and returns the end of what was written. A list has a row for every word: the
/// digits go straight to their places, two at a time, and the blanks are stored in one block
/// of a fixed size, so that no call is made; `out` needs kPutSlack characters of room.
char* PutRight(char* out, std::int64_t value, std::size_t width) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  static constexpr char kBlanks[kPutSlack + 1] = "                        ";
  if (value >= 0 && value < 1000) {
    // Key values and most frequencies: one to three digits.
    const auto n = static_cast<std::size_t>(value);
    const std::size_t length = n < 10 ? 1 : n < 100 ? 2 : 3;
    if (width > length) {
      std::memcpy(out, kBlanks, kPutSlack);
      out += width - length;
    }
    if (length == 3) {
      out[0] = static_cast<char>('0' + n / 100);
      std::memcpy(out + 1, kPairs + 2 * (n % 100), 2);
    } else if (length == 2) {
      std::memcpy(out, kPairs + 2 * n, 2);
    } else {
      out[0] = static_cast<char>('0' + n);
    }
    return out + length;
  }
  const bool negative = value < 0;
  std::uint64_t rest =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  const std::size_t length = DecimalLength(rest) + (negative ? 1 : 0);
  if (width > length) {
    std::memcpy(out, kBlanks, kPutSlack);
    out += width - length;
  }
  char* digit = out + length;
  while (rest >= 100) {
    digit -= 2;
    std::memcpy(digit, kPairs + 2 * (rest % 100), 2);
    rest /= 100;
  }
  if (rest >= 10) {
    digit -= 2;
    std::memcpy(digit, kPairs + 2 * rest, 2);
  } else {
    *--digit = static_cast<char>('0' + rest);
  }
  if (negative) *--digit = '-';
  return out + length;
}

/// Puts `text` (at most kShortCopy characters) at `out`; returns the end of it.
char* PutShort(char* out, std::string_view text) {
  CopyShort(out, text.data(), text.size());
  return out + text.size();
}

std::size_t DigitCount(std::int64_t value) { return std::to_string(value).size(); }

/// Adds one to the whole number right-aligned in the `width` characters of `field` (which
/// has room for the result).
void Increment(char* field, std::size_t width) {
  std::size_t i = width;
  while (i > 0 && field[i - 1] == '9') field[--i] = '0';
  if (i > 0) field[i - 1] = field[i - 1] == ' ' ? '1' : static_cast<char>(field[i - 1] + 1);
}

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
  const auto wordCount = static_cast<std::int64_t>(words.size());
  const std::size_t rankWidth = std::max<std::size_t>(4, DigitCount(wordCount));
  std::int64_t highestFrequency = 0;
  for (const RankedWord& w : words) highestFrequency = std::max(highestFrequency, w.frequency);
  // Sized by the highest frequency so that five or more digits keep the columns apart.
  const std::size_t frequencyWidth = std::max<std::size_t>(4, DigitCount(highestFrequency));

  // Rows are gathered in a buffer of about 64 KiB and handed on when it is full. Each row's
  // numbers are written straight into it, within the room kept at its end.
  constexpr std::size_t kFlushAt = std::size_t{1} << 16;
  constexpr std::size_t kRowRoom = std::size_t{3} * 21 + kPutSlack + 2 * kShortCopy;
  std::string buffer(kFlushAt + kRowRoom, ' ');
  std::size_t used = 0;
  const auto flush = [&] {
    write(std::string_view(buffer.data(), used));
    used = 0;
  };
  const auto put = [&](std::string_view text) {
    if (used + text.size() > buffer.size()) {
      flush();
      if (text.size() > buffer.size()) {
        write(text);
        return;
      }
    }
    std::memcpy(buffer.data() + used, text.data(), text.size());
    used += text.size();
  };
  put("Rank Value Frequency");
  put(lineBreak);
  bool noteWritten = false;
  // Ranks follow one another: the rank column is counted up in place, blanks and all.
  char rankField[kPutSlack];
  std::memset(rankField, ' ', sizeof rankField);
  rankField[rankWidth - 1] = '0';
  for (std::int64_t rank = 1; rank <= wordCount; ++rank) {
    Increment(rankField, rankWidth);
    const RankedWord& w = words[static_cast<std::size_t>(rank - 1)];
    const std::int64_t value = RoundHalfEven(w.keyValue);
    if (value == 0) {
      if (!noteWritten) {
        put(lineBreak);
        put("Words with key value 0 not shown.");
        put(lineBreak);
        noteWritten = true;
      }
      continue;
    }
    if (used + kRowRoom > buffer.size()) flush();
    char* const row = buffer.data() + used;
    std::memcpy(row, rankField, kPutSlack);
    char* out = row + rankWidth;
    *out++ = ' ';
    out = PutRight(out, value, 5);
    *out++ = ' ';
    out = PutRight(out, w.frequency, frequencyWidth);
    *out++ = ' ';
    if (w.word.size() <= kShortCopy && lineBreak.size() <= kShortCopy) {
      out = PutShort(PutShort(out, w.word), lineBreak);
      used += static_cast<std::size_t>(out - row);
    } else {
      used += static_cast<std::size_t>(out - row);
      put(w.word);
      put(lineBreak);
    }
    if (used >= kFlushAt) flush();
  }
  flush();
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

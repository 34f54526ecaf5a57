#include "output/word_list.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "util/str_proc.h"

namespace tagwright {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

/// Appends `value` in decimal, right-aligned in `width` characters (wider numbers overflow).
void AppendRight(std::string& text, std::int64_t value, std::size_t width) {
  char digits[24];
  const std::size_t length =
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
  if (length < width) text.append(width - length, ' ');
  text.append(digits, length);
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

std::string ShowWordList(const RankedWords& words, const AnalysisSettings& settings) {
  if (words.empty()) {
    return ShowNoWordsMessage(settings.ShortWordSize(), settings.ThresholdFrequency());
  }
  const auto intNumWords = static_cast<std::int64_t>(words.size());
  const std::size_t rankWidth = std::max<std::size_t>(4, DigitCount(intNumWords));
  std::int64_t highestFrequency = 0;
  for (const RankedWord& w : words) highestFrequency = std::max(highestFrequency, w.frequency);
  // Sized by the highest frequency so that five or more digits keep the columns apart.
  const std::size_t frequencyWidth = std::max<std::size_t>(4, DigitCount(highestFrequency));

  std::string text = "Rank Value Frequency";
  // Room for every row as wide as the columns are, so that a long list is not copied as the
  // text grows.
  std::size_t size = text.size() + 64;
  for (const RankedWord& w : words) size += rankWidth + frequencyWidth + w.word.size() + 10;
  text.reserve(size);
  text += kLineBreak;
  bool noteWritten = false;
  for (std::int64_t rank = 1; rank <= intNumWords; ++rank) {
    const RankedWord& w = words[static_cast<std::size_t>(rank - 1)];
    const std::int64_t value = RoundHalfEven(w.keyValue);
    if (value != 0) {
      AppendRight(text, rank, rankWidth);
      text += ' ';
      AppendRight(text, value, 5);
      text += ' ';
      AppendRight(text, w.frequency, frequencyWidth);
      text += ' ';
      text += w.word;
      text += kLineBreak;
    } else if (!noteWritten) {
      text += kLineBreak;
      text += "Words with key value 0 not shown.";
      text += kLineBreak;
      noteWritten = true;
    }
  }
  return text;
}

}  // namespace tagwright

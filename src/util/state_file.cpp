#include "util/state_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "util/file_proc.h"
#include "util/line_reader.h"
#include "util/str_proc.h"
#include "util/text_encoding.h"

namespace tagwright {

namespace {

// Eleven items are needed; the twelfth (the modern reading) came later and may be missing.
constexpr std::size_t kNeededItems = 11;
constexpr std::size_t kItems = 12;

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out.push_back('"');  // a quotation mark inside the text is written as two
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

// Splits one line into items, appending them to `items` until it holds `wanted`. An item ends
// at a comma or at the end of the line; a quoted item ends at its closing quotation mark (two
// marks stand for one), and anything after it up to the next comma is dropped.
void SplitItems(std::string_view line, std::vector<std::string>& items, std::size_t wanted) {
  std::size_t i = 0;
  for (;;) {
    if (items.size() >= wanted) return;
    while (i < line.size() && line[i] == ' ') ++i;
    std::string item;
    if (i < line.size() && line[i] == '"') {
      for (++i; i < line.size(); ++i) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            item.push_back('"');
            ++i;
            continue;
          }
          ++i;
          break;
        }
        item.push_back(line[i]);
      }
      while (i < line.size() && line[i] != ',') ++i;
    } else {
      const std::size_t comma = line.find(',', i);
      const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
      item = std::string(TrimBlanks(line.substr(i, end - i)));
      i = end;
    }
    items.push_back(std::move(item));
    if (i >= line.size()) return;
    ++i;  // past the comma: another item follows, even an empty one at the end of the line
  }
}

// A whole number as a hand-edited line may hold it: "2", "+2" or "2.0"; nothing else.
bool ParseWholeNumber(const std::string& text, int& number) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return false;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (error != std::errc() || end != last || value != std::floor(value) || value < -32768 ||
      value > 32767) {
    return false;
  }
  number = static_cast<int>(value);
  return true;
}

// A list index: -1 (no entry chosen) up to the last entry of the setting's list.
bool ParseIndex(const std::string& text, const NumberSetting& setting, int& index) {
  return ParseWholeNumber(text, index) && index >= -1 && index < setting.Count();
}

// A check-box state: the leading number, rounded, from 0 to 2 (2 is the greyed state).
bool ParseCheck(const std::string& text, int& state) {
  const std::int64_t value = RoundHalfEven(LeadingNumber(text));
  if (value < 0 || value > 2) return false;
  state = static_cast<int>(value);
  return true;
}

std::optional<StateValues> FromItems(const std::vector<std::string>& items) {
  if (items.size() < kNeededItems) return std::nullopt;
  StateValues v;
  v.inputFile = ToUtf8(items[0]);
  v.beginWith = ToUtf8(items[1]);
  v.maxKeywords = ToUtf8(items[2]);
  v.maxBytes = ToUtf8(items[3]);
  if (!ParseIndex(items[4], kShortWordSize, v.shortWordSizeIndex) ||
      !ParseIndex(items[5], kThresholdFrequency, v.thresholdFrequencyIndex) ||
      !ParseIndex(items[6], kTableWeight, v.tableWeightIndex) ||
      !ParseIndex(items[7], kExistingKeywordsWeight, v.existingKeywordsWeightIndex) ||
      !ParseIndex(items[8], kBoldWeight, v.boldWeightIndex) ||
      !ParseCheck(items[9], v.ignoreShortWords) || !ParseCheck(items[10], v.ignoreCommonWords)) {
    return std::nullopt;
  }
  int modern = 0;
  v.modernMarkup = items.size() > kNeededItems && ParseCheck(items[11], modern) && modern == 1;
  return v;
}

}  // namespace

std::string FormatState(const StateValues& v) {
  std::string out;
  for (const std::string* text : {&v.inputFile, &v.beginWith, &v.maxKeywords, &v.maxBytes}) {
    out += Quoted(*text) + "\r\n";
  }
  for (int number : {v.shortWordSizeIndex, v.thresholdFrequencyIndex, v.tableWeightIndex,
                     v.existingKeywordsWeightIndex, v.boldWeightIndex, v.ignoreShortWords,
                     v.ignoreCommonWords, v.modernMarkup ? 1 : 0}) {
    out += std::to_string(number) + "\r\n";
  }
  return out;
}

namespace {

// The items of the first lines that hold them, whatever the lines' source.
std::optional<StateValues> ReadItems(LineReader& reader) {
  std::vector<std::string> items;
  std::string line;
  while (items.size() < kItems && reader.Next(line)) SplitItems(line, items, kItems);
  if (!reader.Error().empty()) return std::nullopt;
  return FromItems(items);
}

}  // namespace

std::optional<StateValues> ParseState(std::string_view text) {
  LineReader reader;
  reader.OpenText(std::string(text));
  return ReadItems(reader);
}

std::optional<StateValues> LoadStateFile(const std::string& path) {
  LineReader reader;
  if (!reader.Open(path)) return std::nullopt;
  return ReadItems(reader);
}

std::string SaveStateFile(const std::string& path, const StateValues& values) {
  // A file marked read-only keeps its contents: renaming over it would bypass the mark.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !MayWrite(path)) return std::strerror(EACCES);
  const std::string content = FormatState(values);
  const std::string temporary = path + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return std::strerror(errno);
  const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size() &&
                       std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
  const int writeError = errno;
  if (std::fclose(file) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::remove(temporary.c_str());
    return std::strerror(error);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    std::remove(temporary.c_str());
    return std::strerror(error);
  }
  return "";
}

}  // namespace tagwright

#include "output/unified_diff.h"

#include <algorithm>
#include <vector>

namespace tagwright {

namespace {

constexpr std::size_t kContext = 3;

// The lines of `text`, each with its LF.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(begin, end - begin));
    begin = end;
  }
  return lines;
}

// "start,count" as diff writes it: the count is left out when it is 1, and an empty range
// names the line before it.
std::string Range(std::size_t start, std::size_t count) {
  if (count == 1) return std::to_string(start + 1);
  return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

void AppendLine(std::string& out, char mark, std::string_view line) {
  out.push_back(mark);
  out.append(line);
  if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view label) {
  if (before == after) return "";
  const std::vector<std::string_view> old = Lines(before);
  const std::vector<std::string_view> now = Lines(after);
  const std::size_t shorter = std::min(old.size(), now.size());
  std::size_t prefix = 0;
  while (prefix < shorter && old[prefix] == now[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::size_t start = prefix - std::min(prefix, kContext);
  const std::size_t oldChangeEnd = old.size() - suffix;
  const std::size_t nowChangeEnd = now.size() - suffix;
  const std::size_t after3 = std::min(suffix, kContext);

  std::string out;
  out.append("--- ").append(label).append("\n+++ ").append(label).append("\n");
  out += "@@ -" + Range(start, oldChangeEnd + after3 - start) + " +" +
         Range(start, nowChangeEnd + after3 - start) + " @@\n";
  for (std::size_t i = start; i < prefix; ++i) AppendLine(out, ' ', old[i]);
  for (std::size_t i = prefix; i < oldChangeEnd; ++i) AppendLine(out, '-', old[i]);
  for (std::size_t i = prefix; i < nowChangeEnd; ++i) AppendLine(out, '+', now[i]);
  for (std::size_t i = oldChangeEnd; i < oldChangeEnd + after3; ++i) AppendLine(out, ' ', old[i]);
  return out;
}

}  // namespace tagwright

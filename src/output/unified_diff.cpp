#include "output/unified_diff.h"

#include <algorithm>
#include <cstdio>
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

// The letter of a character's C escape, 1 for an octal escape, 0 for none.
int EscapeLetter(unsigned char c) {
  switch (c) {
    case '\a':
      return 'a';
    case '\b':
      return 'b';
    case '\t':
      return 't';
    case '\n':
      return 'n';
    case '\v':
      return 'v';
    case '\f':
      return 'f';
    case '\r':
      return 'r';
    case '"':
      return '"';
    case '\\':
      return '\\';
    default:
      return c < 32 || c >= 128 ? 1 : 0;
  }
}

std::string QuotedName(std::string_view name) {
  const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
    return c != ' ' && EscapeLetter(static_cast<unsigned char>(c)) == 0;
  });
  if (plain) return std::string(name);
  std::string out = "\"";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const int letter = EscapeLetter(byte);
    if (letter == 0) {
      out.push_back(c);
    } else if (letter == 1) {
      out += {'\\', static_cast<char>('0' + (byte >> 6)),
              static_cast<char>('0' + ((byte >> 3) & 7)), static_cast<char>('0' + (byte & 7))};
    } else {
      out += {'\\', static_cast<char>(letter)};
    }
  }
  out.push_back('"');
  return out;
}

}  // namespace

std::string DiffLabel(std::string_view name, const struct timespec& time) {
  struct tm local {};
  char stamp[64] = "";
  if (::localtime_r(&time.tv_sec, &local) != nullptr) {
    char seconds[32];
    char zone[16];
    std::strftime(seconds, sizeof seconds, "%Y-%m-%d %H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);
    std::snprintf(stamp, sizeof stamp, "%s.%09ld %s", seconds, static_cast<long>(time.tv_nsec),
                  zone);
  }
  return QuotedName(name) + "\t" + stamp;
}

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view label) {
  return UnifiedDiff(before, after, label, label);
}

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view oldLabel,
                        std::string_view newLabel) {
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
  out.append("--- ").append(oldLabel).append("\n+++ ").append(newLabel).append("\n");
  out += "@@ -" + Range(start, oldChangeEnd + after3 - start) + " +" +
         Range(start, nowChangeEnd + after3 - start) + " @@\n";
  for (std::size_t i = start; i < prefix; ++i) AppendLine(out, ' ', old[i]);
  for (std::size_t i = prefix; i < oldChangeEnd; ++i) AppendLine(out, '-', old[i]);
  for (std::size_t i = prefix; i < nowChangeEnd; ++i) AppendLine(out, '+', now[i]);
  for (std::size_t i = oldChangeEnd; i < oldChangeEnd + after3; ++i) AppendLine(out, ' ', old[i]);
  return out;
}

}  // namespace tagwright

#include "json_output.h"

#include <charconv>
#include <cstdio>

namespace tagwright::cli {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
  return out;
}

namespace {

std::string Number(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string WordListJson(const std::string& file, const RankedWords& words,
                         const std::string& noWordsMessage) {
  std::string out = "{\"file\":" + JsonString(file) + ",\"words\":[";
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out.push_back(',');
    out += "{\"rank\":" + std::to_string(i + 1) + ",\"word\":" + JsonString(words[i].word) +
           ",\"value\":" + Number(words[i].keyValue) +
           ",\"frequency\":" + std::to_string(words[i].frequency) + "}";
  }
  out += "]";
  if (words.empty()) out += ",\"message\":" + JsonString(noWordsMessage);
  out += "}";
  return out;
}

std::string MetaTagJson(const std::string& file, const MetaTag& tag) {
  std::string out = "{\"file\":" + JsonString(file);
  if (tag.noWords) return out + ",\"message\":" + JsonString(tag.text) + "}";
  // The tag is the result's first line; the statistics follow it.
  const std::string line = tag.text.substr(0, tag.text.find("\r\n"));
  return out + ",\"tag\":" + JsonString(line) +
         ",\"keywords\":" + std::to_string(tag.keywordCount) +
         ",\"bytes\":" + std::to_string(tag.tagLength) + "}";
}

std::string ExistingJson(const std::string& file, const std::string& text) {
  return "{\"file\":" + JsonString(file) + ",\"text\":" + JsonString(text) + "}";
}

}  // namespace tagwright::cli

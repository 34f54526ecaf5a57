#include "json_output.h"

#include <charconv>
#include <cstdio>

#include "util/text_encoding.h"
#include "util/utf8_text.h"

namespace tagwright::cli {

std::string JsonString(std::string_view text) {
  const std::string valid = ReplaceInvalidUtf8(text);
  std::string out = "\"";
  out.reserve(valid.size() + 2);
  for (char c : valid) {
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

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group <<= 8;
      if (k < n) group |= static_cast<unsigned char>(bytes[i + k]);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      out.push_back(k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3F] : '=');
    }
  }
  return out;
}

std::string JsonFileFields(std::string_view file) {
  std::string out = "\"file\":" + JsonString(file);
  if (!IsValidUtf8(file)) out += ",\"file_base64\":\"" + Base64(file) + "\"";
  return out;
}

namespace {

std::string Number(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string WordListJson(std::string_view file, const RankedWords& words,
                         const std::string& noWordsMessage) {
  std::string out = "{";
  out += JsonFileFields(file);
  out += ",\"words\":[";
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

std::string MetaTagJson(std::string_view file, const MetaTag& tag) {
  std::string out = "{";
  out += JsonFileFields(file);
  if (tag.noWords) return out + ",\"message\":" + JsonString(tag.text) + "}";
  return out + ",\"tag\":" + JsonString(tag.tag) +
         ",\"keywords\":" + std::to_string(tag.keywordCount) +
         ",\"bytes\":" + std::to_string(tag.tagLength) + "}";
}

std::string ApplyJson(std::string_view file, std::string_view action, const MetaTag& tag,
                      std::optional<std::string_view> diff) {
  std::string out = "{";
  out += JsonFileFields(file);
  out += ",\"action\":\"" + std::string(action) + "\",\"tag\":" + JsonString(tag.tag) +
         ",\"keywords\":" + std::to_string(tag.keywordCount) +
         ",\"bytes\":" + std::to_string(tag.tagLength);
  if (diff) out += ",\"diff\":" + JsonString(*diff);
  return out + "}\n";
}

std::string ExistingJson(std::string_view file, const ExistingTag& found) {
  const bool isFound = found.status == ExistingTag::Status::Found;
  std::string out = "{";
  out += JsonFileFields(file);
  return out + ",\"found\":" + (isFound ? "true" : "false") +
         ",\"tag\":" + JsonString(isFound ? found.tag : "") + "}";
}

std::string SiteFurnitureJson(const std::vector<std::string>& words, std::size_t pages) {
  std::string out = "{\"site_furniture\":[";
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out.push_back(',');
    out += JsonString(words[i]);
  }
  return out + "],\"pages\":" + std::to_string(pages) + "}\n";
}

}  // namespace tagwright::cli

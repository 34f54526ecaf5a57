#include "util/charset.h"

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "util/str_proc.h"
#include "util/text_encoding.h"
#include "util/utf8_text.h"

namespace tagwright {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Converts the `inLeft` bytes at `in` with `cd`, appending to the first `written` bytes of
// `out`, which grows when it fills. Where iconv refuses the next bytes, `refused()` either goes
// past them (true) or ends the conversion (false).
template <typename Refused>
void ConvertAll(iconv_t cd, char*& in, std::size_t& inLeft, std::string& out, std::size_t& written,
                Refused refused) {
  while (inLeft > 0) {
    char* outAt = out.data() + written;
    std::size_t outLeft = out.size() - written;
    const std::size_t result = iconv(cd, &in, &inLeft, &outAt, &outLeft);
    written = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
    } else if (!refused()) {
      break;
    }
  }
}

bool IsLabelChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
         c == ':';
}

// The label after "charset" at `at` (blanks, "=", blanks and a quotation mark may come first).
std::string LabelAfter(std::string_view tag, std::size_t at) {
  std::size_t i = at + 7;  // past "charset"
  while (i < tag.size() && tag[i] == ' ') ++i;
  if (i >= tag.size() || tag[i] != '=') return {};
  ++i;
  while (i < tag.size() && (tag[i] == ' ' || tag[i] == '"' || tag[i] == '\'')) ++i;
  std::size_t end = i;
  while (end < tag.size() && IsLabelChar(tag[end])) ++end;
  return std::string(tag.substr(i, end - i));
}

// The charset a meta tag's text (from "<meta" to its ">") declares.
std::string MetaCharset(std::string_view tag) {
  const bool httpEquiv = tag.find("http-equiv") != std::string_view::npos;
  for (std::size_t at = tag.find("charset"); at != std::string_view::npos;
       at = tag.find("charset", at + 1)) {
    // Its own attribute, or within the content of an http-equiv tag.
    const bool attribute = at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '/');
    if (!attribute && !httpEquiv) continue;
    std::string label = LabelAfter(tag, at);
    if (!label.empty()) return label;
  }
  return {};
}

constexpr std::array<std::string_view, 10> kDefaultCharsets = {
    "utf-8",    "utf8",       "unicode-1-1-utf-8", "windows-1252", "cp1252",
    "x-cp1252", "iso-8859-1", "iso8859-1",         "latin1",       "us-ascii"};

// Charsets of non-Latin scripts that a guess may name (lower-cased).
constexpr std::array<std::string_view, 32> kNonLatinCharsets = {
    "windows-1251", "koi8-r",       "koi8-u",         "iso-8859-5",   "ibm855",
    "ibm866",       "mac-cyrillic", "x-mac-cyrillic", "iso-8859-7",   "windows-1253",
    "iso-8859-8",   "windows-1255", "iso-8859-6",     "windows-1256", "tis-620",
    "iso-8859-11",  "windows-874",  "gb18030",        "gb2312",       "gbk",
    "big5",         "euc-tw",       "hz-gb-2312",     "iso-2022-cn",  "shift_jis",
    "euc-jp",       "iso-2022-jp",  "euc-kr",         "uhc",          "iso-2022-kr",
    "johab",        "cp949"};

std::string Lowered(std::string_view text) {
  std::string lower(text);
  LowerCaseAscii(lower);
  return lower;
}

// The bytes of `head` less an incomplete UTF-8 character cut off at its end.
std::string_view WithoutCutCharacter(std::string_view head) {
  for (std::size_t back = 1; back <= 3 && back <= head.size(); ++back) {
    const auto c = static_cast<unsigned char>(head[head.size() - back]);
    if (c < 0x80) break;
    if (c >= 0xC0) {
      const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      if (length > back) return head.substr(0, head.size() - back);
      break;
    }
  }
  return head;
}

}  // namespace

std::string DeclaredCharset(std::string_view head) {
  if (head.starts_with("\xEF\xBB\xBF")) return "utf-8";
  if (head.starts_with("\xFF\xFE")) return "utf-16le";
  if (head.starts_with("\xFE\xFF")) return "utf-16be";
  const std::string text = Lowered(head.substr(0, kCharsetPrescanBytes));
  for (std::size_t i = text.find('<'); i != std::string::npos; i = text.find('<', i + 1)) {
    if (text.compare(i, 4, "<!--") == 0) {
      const std::size_t end = text.find("-->", i + 4);
      if (end == std::string::npos) break;
      i = end + 2;
      continue;
    }
    if (text.compare(i, 5, "<meta") != 0 || i + 5 >= text.size() ||
        (text[i + 5] != ' ' && text[i + 5] != '\t' && text[i + 5] != '\n' && text[i + 5] != '/' &&
         text[i + 5] != '\r')) {
      continue;
    }
    std::size_t end = text.find('>', i);
    if (end == std::string::npos) end = text.size();
    std::string tag = text.substr(i, end - i);
    std::replace_if(
        tag.begin(), tag.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    std::string label = MetaCharset(tag);
    if (!label.empty()) {
      // A page that reached this point is read byte by byte: it cannot be UTF-16 after all.
      if (label.starts_with("utf-16")) return "utf-8";
      return label;
    }
    i = end;
  }
  return {};
}

bool IsDefaultCharset(std::string_view charset) {
  const std::string lower = Lowered(charset);
  return std::find(kDefaultCharsets.begin(), kDefaultCharsets.end(), lower) !=
             kDefaultCharsets.end() ||
         lower == "ascii";
}

std::string GuessedNonLatinCharset(std::string_view head) {
  uchardet_t detector = uchardet_new();
  if (detector == nullptr) return {};
  std::string guess;
  if (uchardet_handle_data(detector, head.data(), head.size()) == 0) {
    uchardet_data_end(detector);
    const char* name = uchardet_get_charset(detector);
    if (name != nullptr) guess = Lowered(name);
  }
  uchardet_delete(detector);
  if (std::find(kNonLatinCharsets.begin(), kNonLatinCharsets.end(), guess) ==
      kNonLatinCharsets.end()) {
    return {};
  }
  return guess;
}

std::string ConversionCharset(std::string_view head) {
  const std::string declared = DeclaredCharset(head);
  if (!declared.empty()) return IsDefaultCharset(declared) ? std::string() : declared;
  if (IsValidUtf8(WithoutCutCharacter(head))) return {};
  return GuessedNonLatinCharset(head);
}

std::optional<std::string> EncodeWithCharset(std::string_view text, const std::string& charset) {
  const iconv_t cd = iconv_open(charset == "gb2312" ? "GBK" : charset.c_str(), "UTF-8");
  // iconv_open reports failure as (iconv_t)-1, a pointer made from an integer.
  if (cd == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
    return std::nullopt;
  }
  std::string out(text.size() * 4 + 16, '\0');
  std::size_t written = 0;
  // Appends `more` after the shift state is ended (a reference is ASCII).
  const auto put = [&](std::string_view more) {
    char* outAt = nullptr;
    std::size_t outLeft = 0;
    for (;;) {
      outAt = out.data() + written;
      outLeft = out.size() - written;
      if (outLeft >= 16 + more.size()) break;
      out.resize(out.size() * 2);
    }
    iconv(cd, nullptr, nullptr, &outAt, &outLeft);
    written = out.size() - outLeft;
    out.replace(written, more.size(), more);
    written += more.size();
  };
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  ConvertAll(cd, in, inLeft, out, written, [&] {
    // A character the charset cannot hold (or not UTF-8 at all): its reference, and on.
    std::size_t next = 0;
    const std::uint32_t code = DecodeUtf8(std::string_view(in, inLeft), 0, next);
    put("&#" + std::to_string(code) + ";");
    in += next;
    inLeft -= next;
    return true;
  });
  put({});
  iconv_close(cd);
  out.resize(written);
  return out;
}

LineDecoder::LineDecoder(const std::string& charset)
    : cd_(iconv_open("UTF-8", charset == "gb2312" ? "GBK" : charset.c_str())) {}

LineDecoder::~LineDecoder() {
  if (Ok()) iconv_close(cd_);
}

void LineDecoder::Convert(std::string_view bytes, std::string& out, std::size_t* keptIncomplete) {
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  out.clear();
  // UTF-8 takes at most three bytes for a character that a legacy charset writes in one.
  out.resize(bytes.size() * 3 + 16);
  std::size_t written = 0;
  ConvertAll(cd_, in, inLeft, out, written, [&] {
    if (errno == EINVAL && keptIncomplete != nullptr) {
      *keptIncomplete = inLeft;  // an incomplete character at the end: kept for the next piece
      return false;
    }
    // Not a character of the charset (or cut off at the end of the line): one replacement
    // character for one byte, and on after it.
    if (out.size() - written < kReplacement.size()) out.resize(out.size() * 2);
    std::memcpy(out.data() + written, kReplacement.data(), kReplacement.size());
    written += kReplacement.size();
    ++in;
    --inLeft;
    return true;
  });
  // Shift states end with the line.
  char* outAt = out.data() + written;
  std::size_t outLeft = out.size() - written;
  if (outLeft < 16) {
    out.resize(out.size() + 16);
    outAt = out.data() + written;
    outLeft = out.size() - written;
  }
  if (keptIncomplete == nullptr || *keptIncomplete == 0) {
    iconv(cd_, nullptr, nullptr, &outAt, &outLeft);
    written = out.size() - outLeft;
  }
  out.resize(written);
}

void LineDecoder::Decode(std::string& line) {
  Convert(line, scratch_, nullptr);
  line.swap(scratch_);
}

void LineDecoder::DecodeChunk(std::string_view bytes, std::string& out, std::string& pending,
                              bool last) {
  pending.append(bytes);
  std::size_t kept = 0;
  Convert(pending, out, last ? nullptr : &kept);
  pending.erase(0, pending.size() - kept);
}

bool PageReader::Open(const std::string& path) {
  charset_.clear();
  error_.clear();
  head_.clear();
  decoder_.reset();
  if (!reader_.Open(path)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return true;  // the reader has the file: read it the default way
  std::string head(kCharsetGuessBytes, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file));
  const std::string charset = ConversionCharset(head);
  head_ = head;
  if (charset.empty()) {
    std::fclose(file);
    return true;
  }
  decoder_ = std::make_unique<LineDecoder>(charset);
  if (!decoder_->Ok()) {
    // A charset the system does not know: read the default way.
    decoder_.reset();
    std::fclose(file);
    return true;
  }
  charset_ = charset;
  if (charset.starts_with("utf-16") || charset.starts_with("utf-32")) {
    // Line ends are two or four bytes wide: the whole stream is converted first.
    head_.clear();
    std::rewind(file);
    const bool converted = ConvertStream(file);
    std::fclose(file);
    decoder_.reset();
    if (!converted) {
      error_ = "Cannot convert the file from " + charset + ": " + std::strerror(errno);
      return false;
    }
    return true;
  }
  std::fclose(file);
  decoder_->Decode(head_);
  return true;
}

bool PageReader::ConvertStream(std::FILE* source) {
  std::FILE* converted = std::tmpfile();
  if (converted == nullptr) return false;
  std::string chunk(kCharsetGuessBytes, '\0');
  std::string out;
  std::string pending;
  bool first = true;
  for (;;) {
    chunk.resize(kCharsetGuessBytes);
    chunk.resize(std::fread(chunk.data(), 1, chunk.size(), source));
    const bool last = chunk.size() < kCharsetGuessBytes;
    decoder_->DecodeChunk(chunk, out, pending, last);
    // The byte order mark is no text.
    std::string_view text = out;
    if (first && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    first = false;
    if (std::fwrite(text.data(), 1, text.size(), converted) != text.size() || std::ferror(source)) {
      std::fclose(converted);
      return false;
    }
    if (last) break;
  }
  std::rewind(converted);
  reader_.Adopt(converted);
  return true;
}

TextPageReader::TextPageReader(std::string_view page) {
  const std::string charset = ConversionCharset(page.substr(0, kCharsetGuessBytes));
  if (!charset.empty()) {
    decoder_ = std::make_unique<LineDecoder>(charset);
    if (!decoder_->Ok()) {
      decoder_.reset();
    } else if (charset.starts_with("utf-16") || charset.starts_with("utf-32")) {
      std::string pending;
      decoder_->DecodeChunk(page, converted_, pending, true);
      page = converted_;
      if (page.starts_with("\xEF\xBB\xBF")) page.remove_prefix(3);  // no text
      decoder_.reset();
    }
  }
  head_.assign(page.substr(0, kCharsetGuessBytes));
  if (decoder_) decoder_->Decode(head_);
  lines_ = std::make_unique<TextLines>(page);
}

bool TextPageReader::Next(std::string& line) {
  std::string_view view;
  std::size_t begin = 0;
  if (!lines_->Next(view, begin)) return false;
  line.assign(view);
  if (decoder_) decoder_->Decode(line);
  return true;
}

bool PageReader::Next(std::string& line) {
  if (!error_.empty() || !reader_.Next(line)) return false;
  if (decoder_) decoder_->Decode(line);
  return true;
}

}  // namespace tagwright

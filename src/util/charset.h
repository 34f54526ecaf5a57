#pragma once

#include <iconv.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "util/line_reader.h"
#include "util/text_lines.h"

namespace tagwright {

/// How many bytes at the start of a page are searched for a declared charset, as browsers do.
inline constexpr std::size_t kCharsetPrescanBytes = 1024;
/// How many bytes at the start of a page an undeclared charset is guessed from.
inline constexpr std::size_t kCharsetGuessBytes = std::size_t{64} * 1024;

/// The charset a page declares, lower-cased: by a byte order mark ("utf-8", "utf-16le",
/// "utf-16be"), or by a meta tag in its first 1,024 bytes (`<meta charset=...>` or
/// `<meta http-equiv="Content-Type" content="...; charset=...">`). Empty when it declares none.
std::string DeclaredCharset(std::string_view head);

/// True for the charsets read the default way, line by line as UTF-8 when the line is valid
/// UTF-8 and as Windows-1252 otherwise: UTF-8, Windows-1252, ISO-8859-1 and ASCII.
bool IsDefaultCharset(std::string_view charset);

/// The guess for bytes that are not valid UTF-8, when it names a charset of a non-Latin script
/// (Cyrillic, Greek, Hebrew, Arabic, Thai, Chinese, Japanese, Korean); empty otherwise.
std::string GuessedNonLatinCharset(std::string_view head);

/// The charset to convert a page from, given its first bytes (up to kCharsetGuessBytes): the
/// declared one, or for an undeclared page that is not valid UTF-8 the non-Latin guess.
/// Empty when the page is read the default way.
std::string ConversionCharset(std::string_view head);

/// UTF-8 `text` written in `charset` (any name iconv knows, "gb2312" read as GBK), with a
/// decimal character reference ("&#1087;") for each character the charset cannot hold. Empty
/// optional when the system does not know the charset.
std::optional<std::string> EncodeWithCharset(std::string_view text, const std::string& charset);

/// Converts lines from a legacy charset to UTF-8. A byte sequence that is not a character of
/// the charset becomes U+FFFD and the conversion goes on after it.
class LineDecoder {
 public:
  /// Ok() is false when the system does not know `charset`.
  explicit LineDecoder(const std::string& charset);
  ~LineDecoder();
  LineDecoder(const LineDecoder&) = delete;
  LineDecoder& operator=(const LineDecoder&) = delete;

  bool Ok() const {
    // iconv_open reports failure as (iconv_t)-1, a pointer made from an integer.
    return cd_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }
  /// Converts `line` in place; the decoder's scratch buffer keeps its storage from line to
  /// line.
  void Decode(std::string& line);
  /// Converts a piece of a stream, keeping an incomplete character at its end for the next
  /// call (at the end of the stream, `last` turns it into U+FFFD).
  void DecodeChunk(std::string_view bytes, std::string& out, std::string& pending, bool last);

 private:
  void Convert(std::string_view bytes, std::string& out, std::size_t* keptIncomplete);

  iconv_t cd_;
  std::string scratch_;
};

/// Reads a page line by line as UTF-8 or as the default way reads it: the charset it declares
/// (or that is guessed for it) is converted line by line. A UTF-16 page is converted through a
/// temporary file in chunks. Memory stays bounded by the longest line.
class PageReader {
 public:
  PageReader() = default;
  PageReader(const PageReader&) = delete;
  PageReader& operator=(const PageReader&) = delete;

  /// Opens `path`; false (with Error() set) on failure.
  bool Open(const std::string& path);
  bool Next(std::string& line);
  const std::string& Error() const { return reader_.Error().empty() ? error_ : reader_.Error(); }
  /// The page's first bytes (up to kCharsetGuessBytes) as UTF-8 where they are converted from
  /// a charset, else as they are; empty for a page converted as a whole (UTF-16, UTF-32).
  const std::string& Head() const { return head_; }
  /// The charset the page is converted from; empty when it is read the default way.
  const std::string& Charset() const { return charset_; }

 private:
  bool ConvertStream(std::FILE* source);

  LineReader reader_;
  std::string charset_;
  std::string error_;
  std::string head_;
  std::unique_ptr<LineDecoder> decoder_;
};

/// Reads a page held in memory line by line, as PageReader reads a file: in the charset it
/// declares or that is guessed for it.
class TextPageReader {
 public:
  explicit TextPageReader(std::string_view page);
  TextPageReader(const TextPageReader&) = delete;
  TextPageReader& operator=(const TextPageReader&) = delete;

  bool Next(std::string& line);
  /// As PageReader::Head.
  const std::string& Head() const { return head_; }

 private:
  std::string converted_;  // a UTF-16 or UTF-32 page, converted as a whole
  std::unique_ptr<LineDecoder> decoder_;
  std::string head_;
  std::unique_ptr<TextLines> lines_;
};

}  // namespace tagwright

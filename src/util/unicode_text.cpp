#include "util/unicode_text.h"

#include <unicode/ucasemap.h>

#include <cstdint>
#include <memory>

#include "util/str_proc.h"
#include "util/text_encoding.h"

namespace tagwright {

std::string LowerCaseUtf8(std::string_view text) {
  std::string lower(text);
  if (!IsValidUtf8(text) || text.size() > static_cast<std::size_t>(INT32_MAX / 3)) {
    LowerCaseAscii(lower);
    return lower;
  }
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UCaseMap, decltype(&ucasemap_close)> map(ucasemap_open("", 0, &status),
                                                                 &ucasemap_close);
  if (U_FAILURE(status)) {
    LowerCaseAscii(lower);
    return lower;
  }
  // Lower-casing can lengthen a letter; three times the bytes is more than Unicode needs.
  lower.resize(text.size() * 3 + 1);
  const int32_t length =
      ucasemap_utf8ToLower(map.get(), lower.data(), static_cast<int32_t>(lower.size()), text.data(),
                           static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status) || length < 0) {
    lower.assign(text);
    LowerCaseAscii(lower);
    return lower;
  }
  lower.resize(static_cast<std::size_t>(length));
  return lower;
}

}  // namespace tagwright

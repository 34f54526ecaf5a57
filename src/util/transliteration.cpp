#include "util/transliteration.h"

namespace tagwright {

namespace {
#include "util/transliteration_table.inc"
}  // namespace

std::string_view TransliterateLetter(char32_t codePoint) {
  if (codePoint >= 0xC0 && codePoint < 0x250) return kLatin00C0[codePoint - 0xC0];
  if (codePoint >= 0x1E00 && codePoint < 0x1F00) return kLatin1E00[codePoint - 0x1E00];
  return {};
}

}  // namespace tagwright

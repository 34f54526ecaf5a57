#include "util/transliteration.h"

#include <gtest/gtest.h>

namespace tagwright {
namespace {

TEST(Transliteration, LatinLettersAndOnlyThem) {
  const struct {
    char32_t code;
    std::string_view spelled;
  } cases[] = {
      {U'é', "e"},    {U'É', "e"},  {U'ü', "ue"}, {U'Ü', "ue"}, {U'ä', "ae"}, {U'ö', "oe"},
      {U'ß', "ss"},   {U'å', "a"},  {U'ø', "o"},  {U'Ø', "o"},  {U'ł', "l"},  {U'Ł', "l"},
      {U'œ', "oe"},   {U'æ', "ae"}, {U'þ', "th"}, {U'ð', "d"},  {U'ő', "o"},  {U'ș', "s"},
      {U'ž', "z"},    {U'ı', "i"},  {U'ạ', "a"},  {U'ỹ', "y"},  {U'ÿ', "y"},  {U'Ÿ', "y"},
      {U'a', ""},     {U'×', ""},   {U'÷', ""},   {U'ж', ""},   {U'€', ""},   {U'中', ""},
      {0x110000, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TransliterateLetter(c.code), c.spelled) << static_cast<std::uint32_t>(c.code);
  }
}

}  // namespace
}  // namespace tagwright

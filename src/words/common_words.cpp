#include "words/common_words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "words/word_set.h"

namespace tagwright {
namespace {

using std::string_view_literals::operator""sv;

constexpr std::array kEnglishConjunctions = {
    "after"sv,   "also"sv,   "although"sv, "and"sv,  "because"sv, "before"sv,    "behind"sv,
    "both"sv,    "but"sv,    "either"sv,   "else"sv, "for"sv,     "hence"sv,     "if"sv,
    "instead"sv, "lest"sv,   "neither"sv,  "nor"sv,  "not"sv,     "only"sv,      "or"sv,
    "perhaps"sv, "since"sv,  "so"sv,       "that"sv, "then"sv,    "therefore"sv, "though"sv,
    "thus"sv,    "unless"sv, "until"sv,    "when"sv, "whereas"sv, "whether"sv,   "while"sv,
    "with"sv,    "yet"sv};

constexpr std::array kGermanConjunctions = {
    "aber"sv,   "als"sv,  "bevor"sv, "dass"sv,    "denn"sv, "nachdem"sv, "ob"sv,  "obgleich"sv,
    "obwohl"sv, "oder"sv, "seit"sv,  "sondern"sv, "und"sv,  "weil"sv,    "wenn"sv};

constexpr std::array kGeneralWords = {
    "a"sv,         "address"sv,  "again"sv,      "ago"sv,     "all"sv,       "almost"sv,
    "already"sv,   "always"sv,   "am"sv,         "an"sv,      "another"sv,   "any"sv,
    "anyway"sv,    "are"sv,      "bad"sv,        "be"sv,      "became"sv,    "become"sv,
    "becomes"sv,   "been"sv,     "began"sv,      "begin"sv,   "begun"sv,     "being"sv,
    "better"sv,    "call"sv,     "called"sv,     "came"sv,    "can"sv,       "cannot"sv,
    "chapter"sv,   "come"sv,     "comes"sv,      "could"sv,   "dept"sv,      "did"sv,
    "different"sv, "do"sv,       "doc"sv,        "does"sv,    "done"sv,      "each"sv,
    "earlier"sv,   "earliest"sv, "early"sv,      "email"sv,   "empty"sv,     "entire"sv,
    "etc"sv,       "even"sv,     "ever"sv,       "every"sv,   "everybody"sv, "everywhere"sv,
    "exe"sv,       "few"sv,      "find"sv,       "found"sv,   "full"sv,      "gave"sv,
    "get"sv,       "give"sv,     "given"sv,      "gives"sv,   "go"sv,        "goes"sv,
    "gone"sv,      "good"sv,     "got"sv,        "had"sv,     "has"sv,       "have"sv,
    "he"sv,        "hear"sv,     "her"sv,        "here"sv,    "hers"sv,      "him"sv,
    "his"sv,       "hour"sv,     "how"sv,        "html"sv,    "http"sv,      "i"sv,
    "is"sv,        "it"sv,       "its"sv,        "late"sv,    "later"sv,     "latest"sv,
    "least"sv,     "led"sv,      "less"sv,       "let"sv,     "links"sv,     "little"sv,
    "long"sv,      "longer"sv,   "look"sv,       "made"sv,    "make"sv,      "makes"sv,
    "many"sv,      "may"sv,      "me"sv,         "mere"sv,    "might"sv,     "more"sv,
    "most"sv,      "much"sv,     "must"sv,       "my"sv,      "necessary"sv, "never"sv,
    "next"sv,      "no"sv,       "none"sv,       "now"sv,     "often"sv,     "other"sv,
    "others"sv,    "our"sv,      "ours"sv,       "part"sv,    "pdf"sv,       "possible"sv,
    "post"sv,      "pre"sv,      "previous"sv,   "said"sv,    "same"sv,      "sang"sv,
    "saw"sv,       "say"sv,      "says"sv,       "section"sv, "see"sv,       "seem"sv,
    "seems"sv,     "seen"sv,     "sees"sv,       "seldom"sv,  "self"sv,      "shall"sv,
    "she"sv,       "short"sv,    "shorter"sv,    "should"sv,  "sing"sv,      "small"sv,
    "smaller"sv,   "some"sv,     "somehow"sv,    "someone"sv, "something"sv, "sometime"sv,
    "soon"sv,      "such"sv,     "sung"sv,       "sure"sv,    "take"sv,      "taken"sv,
    "takes"sv,     "tell"sv,     "than"sv,       "that"sv,    "the"sv,       "their"sv,
    "theirs"sv,    "them"sv,     "themselves"sv, "there"sv,   "these"sv,     "they"sv,
    "this"sv,      "those"sv,    "today"sv,      "told"sv,    "tomorrow"sv,  "too"sv,
    "took"sv,      "txt"sv,      "us"sv,         "use"sv,     "used"sv,      "very"sv,
    "want"sv,      "was"sv,      "we"sv,         "went"sv,    "were"sv,      "what"sv,
    "when"sv,      "where"sv,    "which"sv,      "who"sv,     "whole"sv,     "whom"sv,
    "whose"sv,     "why"sv,      "will"sv,       "worse"sv,   "would"sv,     "yes"sv,
    "yesterday"sv, "you"sv,      "your"sv,       "yours"sv};

constexpr std::array kPrepositions = {
    "aboard"sv,  "about"sv,   "above"sv,    "across"sv,     "after"sv,   "against"sv, "along"sv,
    "amid"sv,    "amidst"sv,  "among"sv,    "amongst"sv,    "anti"sv,    "around"sv,  "as"sv,
    "aside"sv,   "at"sv,      "away"sv,     "back"sv,       "before"sv,  "behind"sv,  "below"sv,
    "beneath"sv, "beside"sv,  "besides"sv,  "between"sv,    "beyond"sv,  "but"sv,     "by"sv,
    "close"sv,   "despite"sv, "down"sv,     "except"sv,     "for"sv,     "from"sv,    "in"sv,
    "inside"sv,  "into"sv,    "like"sv,     "minus"sv,      "near"sv,    "of"sv,      "off"sv,
    "on"sv,      "onto"sv,    "opposite"sv, "out"sv,        "outside"sv, "over"sv,    "past"sv,
    "per"sv,     "plus"sv,    "save"sv,     "since"sv,      "than"sv,    "through"sv, "to"sv,
    "toward"sv,  "towards"sv, "under"sv,    "underneath"sv, "unlike"sv,  "until"sv,   "up"sv,
    "upon"sv,    "versus"sv,  "via"sv,      "with"sv,       "within"sv,  "without"sv};

// "nineth" is the row's own spelling: "ninth" is not a common word.
constexpr std::array kNumberWords = {
    "billion"sv,  "eight"sv,    "eighteen"sv,  "eighth"sv,  "eighty"sv,  "eleven"sv,  "eleventh"sv,
    "every"sv,    "fifteen"sv,  "fifth"sv,     "fifty"sv,   "first"sv,   "five"sv,    "forty"sv,
    "four"sv,     "fourteen"sv, "fourth"sv,    "half"sv,    "hundred"sv, "million"sv, "nine"sv,
    "nineteen"sv, "nineth"sv,   "ninety"sv,    "none"sv,    "once"sv,    "one"sv,     "quarter"sv,
    "second"sv,   "seven"sv,    "seventeen"sv, "seventh"sv, "seventy"sv, "six"sv,     "sixteen"sv,
    "sixth"sv,    "sixty"sv,    "some"sv,      "ten"sv,     "tenth"sv,   "third"sv,   "thirteen"sv,
    "thirty"sv,   "thousand"sv, "three"sv,     "thrice"sv,  "twelfth"sv, "twelve"sv,  "twenty"sv,
    "twice"sv,    "two"sv};

static_assert(kEnglishConjunctions.size() == 37 && kGermanConjunctions.size() == 15 &&
              kGeneralWords.size() == 208 && kPrepositions.size() == 69 &&
              kNumberWords.size() == 51);

// The rows are searched by bisection, which finds what a walk from the start would find only
// while every row is in strictly ascending character-code order.
constexpr bool StrictlyAscending(std::span<const std::string_view> row) {
  return std::adjacent_find(row.begin(), row.end(), std::greater_equal<>{}) == row.end();
}
static_assert(StrictlyAscending(kEnglishConjunctions) && StrictlyAscending(kGermanConjunctions) &&
              StrictlyAscending(kGeneralWords) && StrictlyAscending(kPrepositions) &&
              StrictlyAscending(kNumberWords));

/// Searches one row; a row that was never filled (the German general words, prepositions and
/// number words) is empty, and so is every row of a language that does not exist.
bool FindInWordList(std::string_view word, std::span<const std::string_view> english,
                    std::span<const std::string_view> german, int language) {
  std::span<const std::string_view> row;
  if (language == kEnglish) row = english;
  if (language == kGerman) row = german;
  return std::binary_search(row.begin(), row.end(), word);
}

}  // namespace

bool IsConjunction(std::string_view word, int language) {
  return FindInWordList(word, kEnglishConjunctions, kGermanConjunctions, language);
}

bool IsGeneralWord(std::string_view word, int language) {
  return FindInWordList(word, kGeneralWords, {}, language);
}

bool IsPreposition(std::string_view word, int language) {
  return FindInWordList(word, kPrepositions, {}, language);
}

bool IsNumberWord(std::string_view word, int language) {
  return FindInWordList(word, kNumberWords, {}, language);
}

namespace {

// The four English rows in one set, asked for every word of a page.
WordSet EnglishCommonWords() {
  std::vector<std::string_view> words;
  for (std::span<const std::string_view> row :
       {std::span<const std::string_view>(kEnglishConjunctions),
        std::span<const std::string_view>(kGeneralWords),
        std::span<const std::string_view>(kPrepositions),
        std::span<const std::string_view>(kNumberWords)}) {
    words.insert(words.end(), row.begin(), row.end());
  }
  return WordSet(words);
}

}  // namespace

bool IsCommonWord(std::string_view word, int language) {
  if (language == kEnglish) {
    static const WordSet english = EnglishCommonWords();
    return english.Contains(word);
  }
  return IsConjunction(word, language) || IsGeneralWord(word, language) ||
         IsPreposition(word, language) || IsNumberWord(word, language);
}

}  // namespace tagwright

#include "words/stop_words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "util/unicode_text.h"
#include "util/utf8_text.h"
#include "words/common_words.h"
#include "words/stop_word_data.h"
#include "words/word_set.h"

namespace tagwright {

/// One language's list; its set is made the first time the language is asked for, so that a
/// run that needs one list (or none: the default reading) does not make them all.
struct LanguageStopWords {
  std::string_view language;
  std::string_view text;  // the compiled-in words, one a line
  std::once_flag made;
  WordSet words;  // views into `text`
};

namespace {

using std::string_view_literals::operator""sv;

WordSet ReadList(std::string_view text) {
  std::vector<std::string_view> words;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view word = rest.substr(0, end);
    if (word.ends_with('\r')) word.remove_suffix(1);
    if (!word.empty()) words.push_back(word);
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return WordSet(words);
}

// The set of `list`, made on first use; safe to call from several threads.
const WordSet& WordsOf(LanguageStopWords& list) {
  std::call_once(list.made, [&list] { list.words = ReadList(list.text); });
  return list.words;
}

// The primary subtag of a language tag: "PT" for "PT_br".
std::string_view PrimarySubtag(std::string_view tag) {
  return tag.substr(0, tag.find_first_of("-_"));
}

bool EqualsIgnoringCase(std::string_view lower, std::string_view text) {
  const auto lowered = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::ranges::equal(lower, text, {}, {}, lowered);
}

// A letter of a word: the letters a to z in either case, and every character from U+00C0 on
// but the multiplication and division signs and the punctuation of U+2000 to U+206F.
bool IsWordCharacter(std::uint32_t c) {
  if (c < 0x80) return ((c | 0x20) - 'a') < 26;
  return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F);
}

}  // namespace

std::string GuessLanguage(std::string_view head) {
  static constexpr std::string_view kLanguages[] = {"en", "de", "fr", "es", "it", "pt", "nl", "ru"};
  std::array<int, std::size(kLanguages)> hits{};
  std::string word;
  const auto count = [&] {
    if (word.size() >= 2) {
      const std::string lower = LowerCaseUtf8(word);
      for (std::size_t i = 0; i < hits.size(); ++i) hits[i] += IsStopWord(kLanguages[i], lower);
    }
    word.clear();
  };
  // Chinese, Japanese and Korean are told by their scripts: kana is Japanese, Hangul Korean,
  // Han characters alone Chinese. One of their characters says about as much as three Latin
  // letters, and such pages quote much Latin text (commands, names).
  std::size_t latin = 0, han = 0, kana = 0, hangul = 0;
  bool inTag = false;
  for (std::size_t pos = 0; pos < head.size();) {
    const std::size_t begin = pos;
    std::size_t length;
    std::uint32_t c = DecodeUtf8(head, pos, length);
    pos += length;
    if (length == 1 && c >= 0x80) c = ' ';  // a byte that is not UTF-8
    if (c == '<') inTag = true;
    if (!inTag && IsWordCharacter(c)) {
      if (c < 0x250) {
        ++latin;
      } else if (c >= 0x3040 && c <= 0x30FF) {
        ++kana;
      } else if ((c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)) {
        ++han;
      } else if ((c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x1100 && c <= 0x11FF)) {
        ++hangul;
      }
      word.append(head.substr(begin, pos - begin));
    } else {
      count();
    }
    if (c == '>') inTag = false;
  }
  count();
  if (3 * (han + kana + hangul) > latin) {
    if (hangul > han + kana) return "ko";
    return kana * 10 >= han + kana ? "ja" : "zh";
  }
  // English's list is the broadest by far and holds many words of technical English (command
  // and package names, which pages in every language quote), so it gets many hits on any
  // page: on English documentation every other list gets less than a fifth of its hits, on
  // documentation in another language that language's list gets more than half.
  std::size_t best = 1;
  for (std::size_t i = 2; i < hits.size(); ++i) {
    if (hits[i] > hits[best]) best = i;
  }
  constexpr int kFewest = 10;
  if (hits[best] < kFewest || 2 * hits[best] < hits[0]) return {};
  return std::string(kLanguages[best]);
}

namespace {

LanguageStopWords* ListOf(std::string_view language) {
  // The initialisation of a local static is thread-safe. The lists stay where they are made:
  // a once_flag does not move.
  static std::vector<LanguageStopWords> lists = [] {
    const auto data = StopWordLists();
    std::vector<LanguageStopWords> made(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
      made[i].language = data[i].language;
      made[i].text = data[i].words;
    }
    return made;
  }();
  const std::string_view primary = PrimarySubtag(language);
  const auto is = [primary](const LanguageStopWords& l) {
    return EqualsIgnoringCase(l.language, primary);
  };
  auto found = std::find_if(lists.begin(), lists.end(), is);
  if (found == lists.end()) {
    found = std::find_if(lists.begin(), lists.end(),
                         [](const LanguageStopWords& l) { return l.language == "en"sv; });
  }
  return found == lists.end() ? nullptr : &*found;
}

inline bool ListHolds(const LanguageStopWords& list, const WordSet& words, std::string_view word) {
  if (words.Contains(word)) return true;
  // The German conjunctions of the classic common-word list belong to German too.
  return list.language == "de"sv && IsConjunction(word, kGerman);
}

}  // namespace

bool IsStopWord(std::string_view language, std::string_view word) {
  LanguageStopWords* list = ListOf(language);
  return list != nullptr && ListHolds(*list, WordsOf(*list), word);
}

StopWords::StopWords(std::string_view language) : list_(ListOf(language)) {}

bool StopWords::Contains(std::string_view word) const {
  if (list_ == nullptr) return false;
  if (words_ == nullptr) words_ = &WordsOf(*list_);
  return ListHolds(*list_, *words_, word);
}

bool IsMostlyOtherScripts(std::string_view head) {
  std::size_t latin = 0, other = 0;
  bool inTag = false;
  for (std::size_t pos = 0; pos < head.size();) {
    std::size_t length;
    const std::uint32_t c = DecodeUtf8(head, pos, length);
    pos += length;
    if (length == 1 && c >= 0x80) continue;  // a byte that is not UTF-8
    if (c == '<') inTag = true;
    if (c == '>') inTag = false;
    if (inTag || !IsWordCharacter(c)) continue;
    if (c < 0x250) {
      ++latin;
    } else {
      // A Chinese, Japanese or Korean character says about as much as three Latin letters.
      other += IsWideCharacter(c) ? 3u : 1u;
    }
  }
  return other > latin;
}

}  // namespace tagwright

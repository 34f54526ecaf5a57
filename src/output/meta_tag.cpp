#include "output/meta_tag.h"

#include "output/phrase_search.h"
#include "output/word_list.h"
#include "util/str_proc.h"
#include "util/unicode_text.h"

namespace tagwright {
namespace {

constexpr std::string_view kOpening = "<META NAME=\"keywords\" CONTENT=\"";
constexpr std::string_view kClosing = "\">";

/// The phrases as they open the tag: ", " turned into ",", one trailing comma dropped, lower
/// case (Unicode's, for text that is UTF-8), no leading blanks. Other blanks stay as typed.
std::string PhrasesText(std::string_view beginWith) {
  std::string phrases;
  phrases.reserve(beginWith.size());
  for (std::size_t i = 0; i < beginWith.size(); ++i) {
    phrases += beginWith[i];
    if (beginWith[i] == ',' && i + 1 < beginWith.size() && beginWith[i + 1] == ' ') ++i;
  }
  if (!phrases.empty() && phrases.back() == ',') phrases.pop_back();
  phrases = LowerCaseUtf8(phrases);
  phrases.erase(0, phrases.find_first_not_of(' '));
  return phrases;
}

}  // namespace

std::int64_t ReadLimit(std::string_view text) { return RoundHalfEven(LeadingNumber(text)); }

std::string KeywordsList(std::string_view content) {
  std::string list;
  std::size_t from = 0;
  while (from <= content.size()) {
    std::size_t comma = content.find(',', from);
    if (comma == std::string_view::npos) comma = content.size();
    std::string_view keyword = content.substr(from, comma - from);
    const std::size_t first = keyword.find_first_not_of(" \t\n\r\f");
    keyword = first == std::string_view::npos
                  ? std::string_view()
                  : keyword.substr(first, keyword.find_last_not_of(" \t\n\r\f") + 1 - first);
    if (!keyword.empty()) {
      if (!list.empty()) list += ',';
      list.append(keyword);
    }
    from = comma + 1;
  }
  return list;
}

MetaTag GenerateMetaTag(const RankedWords& words, const MetaTagRequest& request,
                        const AnalysisSettings& settings, std::string_view keptKeywords,
                        const TagMeasure& measure) {
  MetaTag tag;
  if (words.empty()) {
    tag.text = ShowNoWordsMessage(settings.ShortWordSize(), settings.ThresholdFrequency());
    tag.beginWithText = request.beginWithText;
    tag.noWords = true;
    return tag;
  }
  const std::int64_t maxKeywords = ReadLimit(request.maxKeywordsText);
  const std::int64_t maxBytes = ReadLimit(request.maxBytesText);
  const auto size = [&measure](std::string_view piece) {
    return static_cast<std::int64_t>(measure ? measure(piece) : piece.size());
  };

  tag.text = kOpening;
  tag.beginWithText = TrimBlanks(request.beginWithText);
  // The page's own keywords as they are spelt, then the user's phrases.
  std::string phrases(keptKeywords);
  if (!keptKeywords.empty()) tag.keywordCount = CountChar(keptKeywords, ',') + 1;
  if (!tag.beginWithText.empty()) {
    const std::string typed = PhrasesText(tag.beginWithText);
    if (!phrases.empty()) phrases += ',';
    phrases += typed;
    // A lone comma leaves no phrase but still counts one, so the first word follows a comma.
    tag.keywordCount += CountChar(typed, ',') + 1;
  }
  tag.text += phrases;
  tag.tagLength = static_cast<std::int64_t>(kOpening.size()) + size(phrases);

  const std::string lowered = keptKeywords.empty() ? std::string() : LowerCaseUtf8(phrases);
  PhraseSearch inPhrases(keptKeywords.empty() ? std::string_view(phrases) : lowered);
  for (const RankedWord& w : words) {
    if (maxKeywords > 0 && tag.keywordCount + 1 > maxKeywords) break;
    const std::int64_t wordSize = size(w.word);
    // The 1 stands for the comma in front of the word, counted even when none is written.
    if (maxBytes > 0 && tag.tagLength + wordSize + 1 > maxBytes) break;
    if (inPhrases.Contains(w.word)) continue;
    if (tag.keywordCount > 0) {
      tag.text += ',';
      ++tag.tagLength;
    }
    tag.text += w.word;
    tag.tagLength += wordSize;
    ++tag.keywordCount;
  }

  tag.text += kClosing;
  tag.tag = tag.text;
  tag.text += "\r\n\r\nNumber of keywords in meta tag: " + std::to_string(tag.keywordCount);
  tag.text += "\r\nNumber of bytes in meta tag: " + std::to_string(tag.tagLength);
  return tag;
}

}  // namespace tagwright

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

MetaTag GenerateMetaTag(const RankedWords& words, const MetaTagRequest& request,
                        const AnalysisSettings& settings) {
  MetaTag tag;
  if (words.empty()) {
    tag.text = ShowNoWordsMessage(settings.ShortWordSize(), settings.ThresholdFrequency());
    tag.beginWithText = request.beginWithText;
    tag.noWords = true;
    return tag;
  }
  const std::int64_t maxKeywords = ReadLimit(request.maxKeywordsText);
  const std::int64_t maxBytes = ReadLimit(request.maxBytesText);

  tag.text = kOpening;
  tag.beginWithText = TrimBlanks(request.beginWithText);
  std::string phrases;
  if (!tag.beginWithText.empty()) {
    phrases = PhrasesText(tag.beginWithText);
    tag.text += phrases;
    // A lone comma leaves no phrase but still counts one, so the first word follows a comma.
    tag.keywordCount = CountChar(phrases, ',') + 1;
  }
  tag.tagLength = static_cast<std::int64_t>(tag.text.size());

  PhraseSearch inPhrases(phrases);
  for (const RankedWord& w : words) {
    if (maxKeywords > 0 && tag.keywordCount + 1 > maxKeywords) break;
    // The 1 stands for the comma in front of the word, counted even when none is written.
    if (maxBytes > 0 && tag.tagLength + static_cast<std::int64_t>(w.word.size()) + 1 > maxBytes) {
      break;
    }
    if (inPhrases.Contains(w.word)) continue;
    if (tag.keywordCount > 0) tag.text += ',';
    tag.text += w.word;
    ++tag.keywordCount;
    tag.tagLength = static_cast<std::int64_t>(tag.text.size());
  }

  tag.text += kClosing;
  tag.tag = tag.text;
  tag.text += "\r\n\r\nNumber of keywords in meta tag: " + std::to_string(tag.keywordCount);
  tag.text += "\r\nNumber of bytes in meta tag: " + std::to_string(tag.tagLength);
  return tag;
}

}  // namespace tagwright

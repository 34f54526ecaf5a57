// Fuzzes the state file reader: any bytes either load as eleven valid values or are refused,
// the file reader and the text parser agree, and what loads writes back and reads again
// unchanged.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "scratch_file.h"
#include "util/state_file.h"
#include "util/text_encoding.h"

namespace tagwright::fuzz {
namespace {

void CheckValues(const StateValues& v) {
  Require(v.shortWordSizeIndex >= -1 && v.shortWordSizeIndex < 9, "short-word size index");
  Require(v.thresholdFrequencyIndex >= -1 && v.thresholdFrequencyIndex < 9, "frequency index");
  Require(v.tableWeightIndex >= -1 && v.tableWeightIndex < 10, "table weight index");
  Require(v.existingKeywordsWeightIndex >= -1 && v.existingKeywordsWeightIndex < 10,
          "existing-keywords weight index");
  Require(v.boldWeightIndex >= -1 && v.boldWeightIndex < 9, "bold weight index");
  Require(v.ignoreShortWords >= 0 && v.ignoreShortWords <= 2, "short-words check box");
  Require(v.ignoreCommonWords >= 0 && v.ignoreCommonWords <= 2, "common-words check box");
  for (const std::string* text : {&v.inputFile, &v.beginWith, &v.maxKeywords, &v.maxBytes}) {
    Require(IsValidUtf8(*text), "texts are loaded as UTF-8");
    Require(text->find_first_of("\r\n") == std::string::npos, "a text holds no line end");
  }
}

}  // namespace
}  // namespace tagwright::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tagwright;
  using namespace tagwright::fuzz;
  static ScratchFile file;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::optional<StateValues> parsed = ParseState(text);
  file.Write(text);
  Require(LoadStateFile(file.Path()) == parsed, "the file reader agrees with the text parser");
  if (!parsed) return 0;

  CheckValues(*parsed);
  Require(ParseState(FormatState(*parsed)) == parsed, "loaded values write back unchanged");
  return 0;
}

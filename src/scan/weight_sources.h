#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tagwright {

/// Where the weight of a word's occurrence comes from. The base of an occurrence (its font
/// size) belongs to the place it stands in: the title, a description or keywords meta tag, or
/// else the body text; headings, bold text and tables add their own weights on top.
enum class WeightSource : std::size_t { Title, Headings, Bold, Meta, Tables, Body };
inline constexpr std::size_t kWeightSourceCount = 6;

/// One occurrence's weight (or a word's key value) split by source.
using WeightSplit = std::array<float, kWeightSourceCount>;

/// Collects, for a report, how much each source added to each word's key value. A scan hands
/// it every counted occurrence only when it is given one (Analysis::RecordWeightSources); the
/// other runs pay nothing for it.
class WeightSourceRecorder {
 public:
  void Reset() { words_.clear(); }
  /// An occurrence of `word`, as the word table counted it, with its weight split by source.
  void Add(std::string_view word, const WeightSplit& split);
  /// What was recorded under `word` (all zero when nothing was).
  WeightSplit Recorded(std::string_view word) const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, WeightSplit, Hash, std::equal_to<>> words_;
};

}  // namespace tagwright

#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "job_pool.h"

namespace tagwright::cli {

/// Counts what apply did with the pages of a run, for its last line on standard error.
class RunSummary {
 public:
  /// Counts one page's result (nothing for a result that is no page's, such as a file named
  /// twice).
  void Add(const JobOutput& output);

  /// The number of pages counted.
  std::size_t Pages() const { return changed_ + unchanged_ + leftAlone_; }

  /// "6 pages: 3 changed, 1 unchanged, 2 left alone (1 read-only, 1 not a page)", the reasons
  /// in the order they first came; with `dryRun`, "3 would change".
  std::string Line(bool dryRun) const;

 private:
  std::size_t changed_ = 0;
  std::size_t unchanged_ = 0;
  std::size_t leftAlone_ = 0;
  std::vector<std::pair<std::string, std::size_t>> reasons_;
};

}  // namespace tagwright::cli

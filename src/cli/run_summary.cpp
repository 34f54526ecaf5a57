#include "run_summary.h"

#include <algorithm>

#include "page_problem.h"

namespace tagwright::cli {

void RunSummary::Add(const JobOutput& output) {
  switch (output.outcome) {
    case PageOutcome::Changed:
      ++changed_;
      return;
    case PageOutcome::Unchanged:
      ++unchanged_;
      return;
    case PageOutcome::None:
      if (!output.failed) return;
      break;
    case PageOutcome::LeftAlone:
      break;
  }
  ++leftAlone_;
  const std::string why = output.reason.empty() ? reason::kOther : output.reason;
  const auto known = std::find_if(reasons_.begin(), reasons_.end(),
                                  [&why](const auto& counted) { return counted.first == why; });
  if (known == reasons_.end()) {
    reasons_.emplace_back(why, 1);
  } else {
    ++known->second;
  }
}

std::string RunSummary::Line(bool dryRun) const {
  std::string line = std::to_string(Pages()) + (Pages() == 1 ? " page: " : " pages: ") +
                     std::to_string(changed_) + (dryRun ? " would change, " : " changed, ") +
                     std::to_string(unchanged_) + " unchanged, " + std::to_string(leftAlone_) +
                     " left alone";
  for (std::size_t i = 0; i < reasons_.size(); ++i) {
    line += (i == 0 ? " (" : ", ") + std::to_string(reasons_[i].second) + " " + reasons_[i].first;
  }
  if (!reasons_.empty()) line += ")";
  return line;
}

}  // namespace tagwright::cli

#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace tagwright::cli {

/// What apply did with a page, for the summary line.
enum class PageOutcome { None, Changed, Unchanged, LeftAlone };

/// What one file gave: its standard output and standard error texts, and whether it failed.
struct JobOutput {
  std::string out;
  std::string err;
  bool failed = false;
  PageOutcome outcome = PageOutcome::None;
  /// For a page left alone, the summary's short reason.
  std::string reason;
};

/// Runs `job(index, worker)` for every index below `count` on `workers` threads (worker numbers
/// from 0), and hands each result to `deliver` on the calling thread, in index order, as soon
/// as it and all before it are done. Workers run at most a few jobs ahead of the delivery, so
/// memory stays bounded. `tick(done)` is called on the calling thread now and then (about five
/// times a second at least) with the number of jobs done.
void RunJobs(std::size_t count, int workers, const std::function<JobOutput(std::size_t, int)>& job,
             const std::function<void(JobOutput&)>& deliver,
             const std::function<void(std::size_t)>& tick);

}  // namespace tagwright::cli

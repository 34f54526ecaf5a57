#include "job_pool.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tagwright::cli {

namespace {

JobOutput RunGuarded(const std::function<JobOutput(std::size_t, int)>& job, std::size_t index,
                     int worker) {
  try {
    return job(index, worker);
  } catch (const std::exception& e) {
    JobOutput failed;
    failed.err = std::string(e.what()) + "\n";
    failed.failed = true;
    return failed;
  }
}

}  // namespace

void RunJobs(std::size_t count, int workers, const std::function<JobOutput(std::size_t, int)>& job,
             const std::function<void(JobOutput&)>& deliver,
             const std::function<void(std::size_t)>& tick) {
  if (workers <= 1 || count <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      JobOutput output = RunGuarded(job, i, 0);
      deliver(output);
      tick(i + 1);
    }
    return;
  }
  // Workers may run this many jobs ahead of the delivery: enough that they rarely wait for
  // the output, few enough that the results held stay small.
  const std::size_t ahead = 64 * static_cast<std::size_t>(workers);
  std::mutex mutex;
  std::condition_variable ready;  // the next result to deliver is there
  std::condition_variable room;   // a worker may take another job
  std::vector<std::optional<JobOutput>> results(count);
  std::size_t next = 0;
  std::size_t delivered = 0;
  std::size_t done = 0;

  const auto work = [&](int worker) {
    std::unique_lock lock(mutex);
    for (;;) {
      room.wait(lock, [&] { return next >= count || next < delivered + ahead; });
      if (next >= count) return;
      const std::size_t index = next++;
      lock.unlock();
      JobOutput output = RunGuarded(job, index, worker);
      lock.lock();
      results[index] = std::move(output);
      ++done;
      if (index == delivered) ready.notify_one();
    }
  };
  std::vector<std::jthread> threads;
  const int started = static_cast<std::size_t>(workers) < count ? workers : static_cast<int>(count);
  threads.reserve(static_cast<std::size_t>(started));
  for (int w = 0; w < started; ++w) threads.emplace_back(work, w);

  while (delivered < count) {
    std::unique_lock lock(mutex);
    if (!ready.wait_for(lock, std::chrono::milliseconds(200),
                        [&] { return results[delivered].has_value(); })) {
      const std::size_t doneNow = done;
      lock.unlock();
      tick(doneNow);
      continue;
    }
    JobOutput output = std::move(*results[delivered]);
    results[delivered].reset();
    const bool full = next >= delivered + ahead;
    ++delivered;
    const std::size_t doneNow = done;
    lock.unlock();
    if (full) room.notify_all();
    deliver(output);
    tick(doneNow);
  }
}

}  // namespace tagwright::cli

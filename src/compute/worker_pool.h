#pragma once
// Worker threads that share out a loop whose passes are independent of each other. Between
// loops the workers sleep on a condition variable: an idle worker holds no core. Each worker
// selects extended precision when it starts, whatever the thread that started it had set.
#include <cstddef>
#include <functional>

// The number of threads that share a loop, the calling thread included: 1 runs every loop on
// the calling thread alone, 0 or less takes one thread per core.
void set_worker_count(int threads);
int worker_count();

// Calls body(begin, end, worker) on consecutive ranges of [0, count), at most chunk indexes
// each, from the calling thread and the workers; worker (0 to worker_count() - 1) is distinct
// among the calls that run at the same time. Returns when every call has returned. When a call
// throws (an allocation that fails), no further ranges are handed out and, once every call has
// returned, the first exception is thrown again on the calling thread.
using RangeBody = std::function<void(std::size_t begin, std::size_t end, int worker)>;
void parallel_for(std::size_t count, std::size_t chunk, const RangeBody& body);

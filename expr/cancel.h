#pragma once
// Stopping a running evaluation from another thread.

#include <atomic>

namespace hc {

// Set by the thread that wants a running evaluation stopped; read by the evaluation.
using CancelFlag = std::atomic<bool>;

// Thrown out of the evaluator when its cancel flag is set. It is no failure of the
// formula: nothing is logged for it, and the calculate command reports it as cancelled.
struct Cancelled {};

// Throws Cancelled when `flag` is given and set.
inline void throwIfCancelled(const CancelFlag* flag) {
    if (flag && flag->load(std::memory_order_relaxed)) throw Cancelled{};
}

}  // namespace hc

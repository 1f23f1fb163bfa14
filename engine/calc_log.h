#pragma once
// The log of one evaluation: its failures, the precision its result can be
// trusted to, and the notices for the user, in the order they were recorded.
//
// The log is the engine's and the evaluator's internal channel. Every arithmetic
// routine writes to calcLog(), the log installed on the calling thread; the
// evaluator (expr/calculate.h) installs a fresh log with ScopedCalcLog, drains it
// into its result and restores the caller's. Without one a thread writes to a
// default log of its own, so that concurrent threads never share a log.
//
// Code above the engine and the evaluator (the survey and tools operations, the
// windows, the command line) never reads, writes or resets this log: an
// operation returns its notices with its result, and where it calls engine
// routines directly it does so through checkedCall(), which runs them in a log of
// their own and hands back what they reported as a value (EngineReport).

#include <QString>
#include <type_traits>
#include <utility>

#include "engine/notice.h"

namespace hc {

class CalcLog {
public:
    int errorCount = 0;
    QString firstMessage;
    QString lastMessage;
    QString errorLog;  // every message followed by CR LF
    int precisionLimit = 29;
    Notices notices;

    // Counts the failure and logs its message.
    void report(const QString& message);
    // Logs a message without counting it.
    void logOnly(const QString& message);
    // Lowers the precision limit to at most `limit` significant digits.
    void limitTo(int limit) {
        if (precisionLimit > limit) precisionLimit = limit;
    }
    // Records a notice for the user after those already recorded.
    void notify(Notice notice) { notices.append(std::move(notice)); }
    // Records a notice with one OK button and the application's title.
    void notify(const QString& text) { notify(Notice{text, NoticeButtons::Ok, QString()}); }
};

// The log installed on the calling thread, or that thread's default log.
CalcLog& calcLog();

// Installs a fresh log on the calling thread for its lifetime and restores the
// previous one on destruction. Create and destroy it on the same thread.
class ScopedCalcLog {
public:
    ScopedCalcLog();
    ~ScopedCalcLog();
    ScopedCalcLog(const ScopedCalcLog&) = delete;
    ScopedCalcLog& operator=(const ScopedCalcLog&) = delete;

    CalcLog& log() { return log_; }

private:
    CalcLog log_;
    CalcLog* previous_;
};

// What engine routines reported while computing one value.
struct EngineReport {
    int failures = 0;         // failures counted
    QString firstMessage;     // message of the first one, if it had one
    int precisionLimit = 29;  // significant digits the value can be trusted to
    Notices notices;          // for the user, in the order they were recorded

    bool ok() const { return failures == 0; }
};

// Runs `f` (which calls engine routines) in a fresh log of its own and returns
// what `f` returns; `report` gets what the routines recorded, also when `f`
// throws (the exception then goes on to the caller). The caller's log is left as
// it was.
template <class F>
auto checkedCall(F&& f, EngineReport& report) -> decltype(f()) {
    ScopedCalcLog scope;
    auto drain = [&] {
        CalcLog& log = scope.log();
        report.failures = log.errorCount;
        report.firstMessage = log.firstMessage;
        report.precisionLimit = log.precisionLimit;
        report.notices = std::move(log.notices);
    };
    try {
        if constexpr (std::is_void_v<decltype(f())>) {
            std::forward<F>(f)();
            drain();
        } else {
            auto value = std::forward<F>(f)();
            drain();
            return value;
        }
    } catch (...) {
        drain();
        throw;
    }
}

// Resets the current log: error count, messages and precision limit 29. Notices
// already recorded stay for the caller to show. For the evaluator's own steps.
void ZelChongZhi();

}  // namespace hc

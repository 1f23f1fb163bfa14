#pragma once
// The log of one evaluation: its failures, the precision its result can be
// trusted to, and the notices for the user, in the order they were recorded.
//
// Every routine writes to calcLog(), the log installed on the calling thread. A
// calculation installs a fresh log with ScopedCalcLog and reads it when done;
// without one a thread writes to a default log of its own, so that concurrent
// threads never share a log.

#include <QString>

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

// Resets the current log: error count, messages and precision limit 29. Notices
// already recorded stay for the caller to show.
void ZelChongZhi();

}  // namespace hc

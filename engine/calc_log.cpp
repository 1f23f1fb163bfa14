#include "engine/calc_log.h"

namespace hc {
namespace {

thread_local CalcLog* installed = nullptr;

CalcLog& threadDefault() {
    thread_local CalcLog log;
    return log;
}

}  // namespace

void CalcLog::report(const QString& message) {
    ++errorCount;
    lastMessage = message;
    errorLog += message;
    errorLog += QStringLiteral("\r\n");
    if (errorCount == 1) firstMessage = message;
}

void CalcLog::logOnly(const QString& message) {
    lastMessage = message;
    errorLog += message;
    errorLog += QStringLiteral("\r\n");
}

CalcLog& calcLog() { return installed ? *installed : threadDefault(); }

ScopedCalcLog::ScopedCalcLog() : previous_(installed) { installed = &log_; }

ScopedCalcLog::~ScopedCalcLog() { installed = previous_; }

void ZelChongZhi() {
    CalcLog& s = calcLog();
    s.errorCount = 0;
    s.lastMessage.clear();
    s.firstMessage.clear();
    s.errorLog.clear();
    s.precisionLimit = 29;
}

}  // namespace hc

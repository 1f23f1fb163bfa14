#pragma once
// Runs the built hechuan-cli as a separate process and collects what it wrote.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace hc_test {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline QString binDir() {
    if (const char* env = std::getenv("HC_BIN_DIR")) return QString::fromUtf8(env);
#ifdef HC_BIN_DIR
    return QStringLiteral(HC_BIN_DIR);
#else
    return QStringLiteral(".");
#endif
}

// Runs hechuan-cli with `args`, feeding `input` on standard input in pieces while
// draining standard output (a large input cannot fill both pipes and stall), with
// `env` ("NAME=value") added to the environment.
inline CliRun runCli(const QStringList& args, const QByteArray& input = QByteArray(),
                     const QStringList& env = {}) {
    QProcess p;
    if (!env.isEmpty()) p.setEnvironment(QProcess::systemEnvironment() + env);
    p.start(binDir() + QStringLiteral("/cli/hechuan-cli"), args);
    if (!p.waitForStarted(10000)) return {};
    QByteArray out;
    qsizetype written = 0;
    while (written < input.size()) {
        const qint64 n = p.write(input.constData() + written,
                                 std::min<qsizetype>(input.size() - written, 1 << 16));
        if (n < 0) break;
        written += n;
        p.waitForBytesWritten(10000);
        out += p.readAllStandardOutput();
    }
    p.closeWriteChannel();
    p.waitForFinished(60000);
    out += p.readAllStandardOutput();
    CliRun r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = out.toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

inline CliRun runCli(std::initializer_list<const char*> list,
                     const QByteArray& input = QByteArray()) {
    QStringList args;
    for (const char* a : list) args << QString::fromUtf8(a);
    return runCli(args, input);
}

}  // namespace hc_test

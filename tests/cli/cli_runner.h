#pragma once
// Runs the built hechuan-cli as a separate process and collects what it wrote.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
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

inline CliRun runCli(std::initializer_list<const char*> list,
                     const QByteArray& input = QByteArray()) {
    QStringList args;
    for (const char* a : list) args << QString::fromUtf8(a);
    QProcess p;
    p.start(binDir() + QStringLiteral("/cli/hechuan-cli"), args);
    if (!p.waitForStarted(10000)) return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    CliRun r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

}  // namespace hc_test

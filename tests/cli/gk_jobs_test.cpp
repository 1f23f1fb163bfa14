// hechuan-cli gk --jobs: the chunks of a long input converted on several threads.

#include <gtest/gtest.h>

#include <string>

#include "tests/cli/cli_runner.h"

namespace {

using hc_test::runCli;

// Several chunks of rows with names of different widths, rows without names, rows the
// quick reader leaves to the literal one, notes, and points the conversion rejects.
QByteArray longInput() {
    std::string text = "示例\n";
    for (int i = 0; i < 30000; ++i) {
        const int minute = i % 60;
        const int second = (i * 7) % 60;
        char numbers[96];
        std::snprintf(numbers, sizeof numbers, "%d.%02d%02d%04d,%d.%02d%02d%04d,%d\n", 20 + i % 30,
                      minute, second, i % 10000, 112 + i % 10, second, minute, (i * 3) % 10000,
                      i % 500);
        if (i % 5000 == 17) {
            text += "坏行,x,y\n";
        } else if (i % 7000 == 5) {
            text += "Z9,95.1,117.1\n";  // latitude beyond 90: rejected
        } else if (i % 9 == 0) {
            text += numbers;
        } else {
            if (i % 13 == 0) {
                text += "点";
            } else {
                text += 'P';
                text += std::to_string(i % (1 + i % 251));
            }
            text += ',';
            text += numbers;
        }
    }
    return QByteArray::fromStdString(text);
}

TEST(GkJobs, ThreadsGiveTheOutputOfOneThread) {
    const QByteArray input = longInput();
    const QStringList base{QStringLiteral("gk"),   QStringLiteral("--from"),
                           QStringLiteral("jw"),   QStringLiteral("--to"),
                           QStringLiteral("3"),    QStringLiteral("--meridian"),
                           QStringLiteral("118.5")};
    const hc_test::CliRun one =
        runCli(base + QStringList{QStringLiteral("--jobs"), QStringLiteral("1")}, input);
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_GT(one.out.size(), 30000u * 30);
    for (const QStringList& jobs :
         {QStringList{QStringLiteral("--jobs"), QStringLiteral("3")}, QStringList{}}) {
        const hc_test::CliRun many = runCli(base + jobs, input);
        EXPECT_EQ(many.exitCode, 0);
        EXPECT_TRUE(many.out == one.out) << jobs.join(u' ').toStdString();
        EXPECT_EQ(many.err, one.err);
    }
}

TEST(GkJobs, ACountOutsideOneTo256IsAUsageError) {
    for (const char* count : {"0", "-1", "257", "x", "2.5"}) {
        const hc_test::CliRun r =
            runCli({"gk", "--from", "jw", "--to", "3", "--jobs", count}, "A,39.41,117.5\n");
        EXPECT_EQ(r.exitCode, 2) << count;
        EXPECT_TRUE(r.out.empty()) << count;
        EXPECT_NE(r.err.find("--jobs"), std::string::npos) << count;
    }
    const hc_test::CliRun r =
        runCli({"gk", "--from", "jw", "--to", "3", "--jobs", "256"}, "A,39.41,117.5\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

}  // namespace

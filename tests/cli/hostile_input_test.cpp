// hechuan-cli against input that is not what it expects: bytes that are not UTF-8,
// lines too long to read, blank lines, closed pipes and too little memory.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <new>
#include <string>

#include "cli/command_line.h"
#include "tests/cli/cli_runner.h"

namespace {

using hc_test::CliRun;
using hc_test::runCli;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs `pipeline` in sh; returns what it printed on standard error and the status of
// hechuan-cli, which the pipeline writes as its last line.
std::string shell(const QString& pipeline, int timeoutMs = 30000) {
    QProcess p;
    QStringList env = QProcess::systemEnvironment();
    env << QStringLiteral("CLI=") + hc_test::binDir() + QStringLiteral("/cli/hechuan-cli");
    p.setEnvironment(env);
    p.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), pipeline});
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return "timed out";
    }
    return p.readAllStandardOutput().toStdString() + p.readAllStandardError().toStdString();
}

// "2×3" and "10÷4" in GB18030: U+00D7 is A1 C1, U+00F7 is A1 C2.
const QByteArray kGbTimes(
    "2\xa1\xc1"
    "3\n");
const QByteArray kGbDivide(
    "10\xa1\xc2"
    "4\n");

TEST(CliEncoding, GbkLinesAreReadAsGb18030WithOneNotice) {
    CliRun r = runCli({"eval"}, kGbTimes + kGbDivide + "1+1\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "6\n2.5\n2\n");
    const std::string notice = "已按 GB18030 编码读取";
    ASSERT_TRUE(contains(r.err, notice)) << r.err;
    EXPECT_EQ(r.err.find(notice), r.err.rfind(notice)) << "one notice for the whole run";

    // A UTF-8 line stays UTF-8 beside a GB18030 one.
    r = runCli({"eval"}, QByteArray("2×3\n") + kGbTimes);
    EXPECT_EQ(r.out, "6\n6\n");

    // "点A" in GB18030 as the name of a coordinate row.
    r = runCli({"gk", "--from", "jw", "--to", "6", "--jobs", "1"},
               "\xb5\xe3"
               "A,39.5,114.2,10\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "点A , 4414505.811 , 20271711.605")) << r.out;
    EXPECT_TRUE(contains(r.err, "GB18030")) << r.err;

    // A point list in GB18030 ("点" is B5 E3) reads as its UTF-8 twin, notices aside.
    const QByteArray gbList(
        "\xb5\xe3"
        "1,100,200,10\n"
        "\xb5\xe3"
        "2,300,400,20\n");
    const CliRun utf8 = runCli({"bearing"}, "点1,100,200,10\n点2,300,400,20\n");
    r = runCli({"bearing"}, gbList);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, utf8.out);
    EXPECT_TRUE(contains(r.err, "GB18030")) << r.err;
    EXPECT_TRUE(contains(r.err, "共清除 2 个字符")) << r.err;
}

TEST(CliEncoding, EncodingOptionChoosesOneEncoding) {
    CliRun r = runCli({"eval", "--encoding", "utf-8"}, kGbTimes);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "\n");
    EXPECT_TRUE(contains(r.err, "第 1 行不是有效的 UTF-8")) << r.err;

    r = runCli({"eval", "--encoding=gb18030"}, kGbTimes);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "6\n");
    EXPECT_FALSE(contains(r.err, "notice")) << "the encoding was asked for: " << r.err;

    r = runCli({"angle", "--from", "deg", "--to", "rad", "--encoding", "latin1"}, "1\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, "--encoding")) << r.err;
}

// Bytes that are neither UTF-8 nor GB18030 (0xFF never occurs in either) used to turn
// into U+FFFD and vanish: "39.\xff5" was read as 39.
TEST(CliEncoding, UndecodableLineIsRefusedByEveryReader) {
    const QByteArray bad(
        "39.\xff"
        "5");
    struct Case {
        QStringList args;
        QByteArray input;
        const char* out;  // nullptr: not compared
    };
    const Case cases[] = {
        {{"eval"}, "1\n" + bad + "\n2\n", "1\n\n2\n"},
        {{"angle", "--from", "dms", "--to", "deg"}, "1\n" + bad + "\n", "1\n\n"},
        {{"split"}, "1.5\n" + bad + "\n2\n", "1\t5\n\n2\t0\n"},
        {{"base", "--from", "10", "--to", "2"}, bad + "\n3\n", "\n11\n"},
        {{"stats"}, "a*1\n" + bad + "\n", ""},
        {{"bearing"}, "1,0,0,0\n2," + bad + ",1,0\n", ""},
        {{"attitude"}, "1,0,0,0\n2," + bad + ",1,0\n3,1,1,1\n", ""},
        {{"gk", "--from", "jw", "--to", "6", "--jobs", "1"},
         "A,39.5,114.2,10\nB," + bad + ",114.2,10\n",
         nullptr},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args, c.input);
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(r.exitCode, 1) << r.out;
        EXPECT_TRUE(contains(r.err, "既不是 UTF-8 也不是 GB18030")) << r.err;
        EXPECT_TRUE(contains(r.err, "line 2") || contains(r.err, "line 1")) << r.err;
        if (c.out) {
            EXPECT_EQ(r.out, c.out);
        }
    }
    // The coordinate row of that line is not written with a number cut short.
    const CliRun r = runCli({"gk", "--from", "jw", "--to", "6", "--jobs", "1"},
                            "A,39.5,114.2,10\nB," + bad + ",114.2,10\n");
    EXPECT_TRUE(contains(r.out, "A , ")) << r.out;
    EXPECT_FALSE(contains(r.out, "B , ")) << r.out;
    EXPECT_TRUE(contains(r.err, "line 2")) << r.err;
    EXPECT_TRUE(contains(r.err, "合计：读取 1 行，换算 1 行，拒绝 0 行，跳过 1 行")) << r.err;
}

// Arguments were decoded as UTF-8 with U+FFFD for other bytes, so that "2\xff" was read
// as 2.
TEST(CliEncoding, ArgumentsThatAreNeitherUtf8NorGb18030AreRefused) {
    // QProcess would pass the argument as UTF-8; the shell passes the raw byte.
    const std::string got =
        shell(QStringLiteral("\"$CLI\" logic 1 add $'2\\xff'; echo \"status $?\""));
    EXPECT_TRUE(contains(got, "status 2")) << got;
    EXPECT_TRUE(contains(got, "argument 4 is neither UTF-8 nor GB18030")) << got;
    EXPECT_FALSE(contains(got, "\n3\n")) << got;
}

// A line above 1 MiB was cut to 1 MiB and the cut row converted.
TEST(CliLongLines, OverlongLinesAreReportedNeverCut) {
    const QByteArray huge = "B,39.5,114.2,1" + QByteArray(qsizetype(hc::cli::kMaxLineBytes), '0');
    CliRun r = runCli({"gk", "--from", "jw", "--to", "6", "--jobs", "1"},
                      "A,39.5,114.2,10\n" + huge + "\nC,39.5,114.2,10\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "A , ") && contains(r.out, "C , ")) << r.out.substr(0, 300);
    EXPECT_FALSE(contains(r.out, "B , ")) << r.out.substr(0, 300);
    EXPECT_TRUE(contains(r.err, "第 2 行未能读取: 行长超过 1 MiB")) << r.err.substr(0, 300);
    EXPECT_TRUE(contains(r.err, "合计：读取 2 行，换算 2 行，拒绝 0 行，跳过 1 行")) << r.err;

    // The same line without a line end, as the last one.
    r = runCli({"gk", "--from", "jw", "--to", "6", "--jobs", "1"}, "A,39.5,114.2,10\n" + huge);
    EXPECT_TRUE(contains(r.err, "跳过 1 行")) << r.err.substr(0, 300);

    const QByteArray digits = "1" + QByteArray(qsizetype(hc::cli::kMaxLineBytes), '0');
    r = runCli({"split"}, "1.5\n" + digits + "\n2.5\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "1\t5\n\n2\t5\n");
    EXPECT_TRUE(contains(r.err, "line 2 is longer than 1 MiB")) << r.err.substr(0, 300);
    // Formulas may be longer than data lines: a sum of 600,000 ones is read, a line
    // beyond 16 MiB is not.
    QByteArray ones = "1";
    for (int i = 1; i < 600000; ++i) ones += "+1";
    r = runCli({"eval"}, ones + "\n1+1\n");
    EXPECT_EQ(r.exitCode, 0) << r.err.substr(0, 300);
    EXPECT_EQ(r.out, "600000\n2\n");
    const QByteArray tooLong = "1" + QByteArray(qsizetype(16) << 20, '0');
    r = runCli({"eval"}, tooLong + "\n1+1\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "\n2\n");
    EXPECT_TRUE(contains(r.err, "line 1 is longer than 16 MiB (16777216 bytes)"))
        << r.err.substr(0, 300);
}

// Blank lines were skipped, so that output line N no longer belonged to input line N.
TEST(CliPerValue, OneOutputLinePerInputLine) {
    CliRun r = runCli({"angle", "--from", "deg", "--to", "dms"}, "1.5\n\n  \r\n2.25\n");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1.3\n\n\n2.15\n");
    r = runCli({"split"}, "\n1.5\n");
    EXPECT_EQ(r.out, "\n1\t5\n");
    r = runCli({"base", "--from", "10", "--to", "16"}, "255\n\n16\n");
    EXPECT_EQ(r.out, "FF\n\n10\n");
    r = runCli({"base", "--from", "10", "--to", "16", "255", "", "16"});
    EXPECT_EQ(r.out, "FF\n\n10\n");
}

// With equal bases the value was echoed unread: "garbage" in, "garbage" out, status 0.
TEST(CliPerValue, BaseValuesMustBeNumbersOfTheirBase) {
    struct Case {
        const char* from;
        const char* to;
        const char* value;
        const char* out;
        int exit;
    };
    const Case cases[] = {
        {"10", "10", "garbage", "-1\n", 1}, {"10", "10", "-12.5", "-12.5\n", 0},
        {"16", "16", "1G", "-1\n", 1},      {"16", "16", "ff.8", "ff.8\n", 0},
        {"2", "2", "102", "-1\n", 1},       {"8", "8", "17", "17\n", 0},
        {"16", "2", "xyz", "-1\n", 1},      {"2", "16", "10x1", "-1\n", 1},
        {"10", "2", "1.2.3", "-1\n", 1},    {"16", "10", "-", "-1\n", 1},
    };
    for (const Case& c : cases) {
        const CliRun r =
            runCli({"base", "--from", c.from, "--to", c.to}, QByteArray(c.value) + "\n");
        EXPECT_EQ(r.out, c.out) << c.from << "->" << c.to << " " << c.value;
        EXPECT_EQ(r.exitCode, c.exit) << c.value << ": " << r.err;
    }
}

// "yes 1.5 | hechuan-cli angle ... | head -1" never ended.
TEST(CliPipes, EveryCommandStopsAtAClosedPipe) {
    const char* const commands[] = {"angle --from dms --to rad", "split", "base --from 10 --to 2",
                                    "eval", "gk --from jw --to 6 --jobs 1 --no-names"};
    for (const char* command : commands) {
        const QString line = QString::fromLatin1(command).startsWith(u"gk")
                                 ? QStringLiteral("39.5,114.2,10")
                                 : QStringLiteral("1.5");
        const std::string got = shell(QStringLiteral("yes %1 | timeout 10 \"$CLI\" %2 | head -1 "
                                                     ">/dev/null; echo \"status ${PIPESTATUS[1]}\"")
                                          .arg(line, QString::fromLatin1(command)));
        EXPECT_TRUE(contains(got, "status 1")) << command << ": " << got.substr(0, 300);
        EXPECT_TRUE(contains(got, "管道已关闭")) << command << ": " << got.substr(0, 300);
    }
}

// Running out of memory inside a command: what was written stays, the message follows
// on standard error and the status is 1.
int writeThenRunOut(const QStringList&, const hc::cli::Streams& io) {
    std::fputs("partial\n", io.out);
    throw std::bad_alloc();
}

std::string contents(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char buf[256];
    while (std::fgets(buf, sizeof buf, f)) text += buf;
    return text;
}

TEST(CliMemory, OutOfMemoryIsAMessageAndStatusOne) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ASSERT_NE(err, nullptr);
    const int status = hc::cli::runCatchingOutOfMemory(writeThenRunOut, {QStringLiteral("x")},
                                                       hc::cli::Streams{stdin, out, err});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(contents(out), "partial\n");
    EXPECT_TRUE(contains(contents(err), "error: out of memory"));
    std::fclose(out);
    std::fclose(err);
}

TEST(CliMemory, StatisticsOfALargeTableFitInALimitedAddressSpace) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#endif
#endif
    // Seven megabytes of statistics data within 150 MB of address space: the table is
    // streamed, not held; the whole text used to need far more and ended out of memory.
    const std::string got = shell(
        QStringLiteral("seq 1 400000 | sed 's/.*/&*&.5*3/' | (ulimit -v 150000; \"$CLI\" stats "
                       "| tail -n 11 | head -n 2; echo \"status ${PIPESTATUS[0]}\")"),
        120000);
    EXPECT_TRUE(contains(got, "status 0")) << got.substr(0, 400);
    EXPECT_TRUE(contains(got, "频数N\t400000\t400000")) << got.substr(0, 400);
}

TEST(CliNotices, AFloodOfNoticesIsCutToItsFirstLinesAndACount) {
    hc::Notices notices;
    for (int i = 0; i < 1000; ++i)
        notices.append(hc::Notice{QStringLiteral("same"), hc::NoticeButtons::Ok, QString()});
    notices.append(hc::Notice{QStringLiteral("other"), hc::NoticeButtons::Ok, QString()});
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    hc::cli::writeNotices(f, notices);
    std::rewind(f);
    std::string text;
    char buf[256];
    while (std::fgets(buf, sizeof buf, f)) text += buf;
    std::fclose(f);
    EXPECT_EQ(text,
              "same\nsame\nsame\nsame\nsame\nother\n（另有 995 条提示未显示）/ (995 more notices "
              "not shown)\n");
}

}  // namespace

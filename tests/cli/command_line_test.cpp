// The conventions all subcommands share, on CommandLine in-process, and the exit status
// of the program when its output cannot be written.
#include "cli/command_line.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <cstdio>
#include <string>

#include "tests/survey/print_qstring.h"
#include "tests/survey/temp_file.h"

namespace hc::cli {
namespace {

const QString kHelp = QStringLiteral("用法: demo\nUsage: demo\n");

struct Parsed {
    std::optional<int> status;
    QString out;
    QString err;
    QStringList operands;
    QStringList values;
    bool flag = false;
};

Parsed parse(const QStringList& words, bool operands = true) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CommandLine cl(kHelp, Streams{stdin, out, err});
    cl.addFlag(QStringLiteral("flag"));
    cl.addOption(QStringLiteral("opt"));
    if (operands) cl.allowOperands();
    Parsed p;
    p.status = cl.parse(QStringList{QStringLiteral("demo")} + words);
    p.out = QString::fromStdString(readAll(out));
    p.err = QString::fromStdString(readAll(err));
    p.operands = cl.operands();
    p.values = cl.values(QStringLiteral("opt"));
    p.flag = cl.isSet(QStringLiteral("flag"));
    std::fclose(out);
    std::fclose(err);
    return p;
}

QStringList words(std::initializer_list<const char*> list) {
    QStringList l;
    for (const char* w : list) l << QString::fromUtf8(w);
    return l;
}

TEST(CommandLine, OptionsValuesAndOperands) {
    const Parsed p = parse(
        words({"-3+1", "--opt", "-1", "--flag", "x", "--opt=a=b", "--", "--opt", "-h", "三"}));
    EXPECT_FALSE(p.status.has_value()) << p.err.toStdString();
    EXPECT_EQ(p.operands, words({"-3+1", "x", "--opt", "-h", "三"}));
    EXPECT_EQ(p.values, words({"-1", "a=b"}));
    EXPECT_TRUE(p.flag);
    EXPECT_TRUE(p.out.isEmpty());
    EXPECT_TRUE(p.err.isEmpty());
}

TEST(CommandLine, HelpGoesToStandardOutput) {
    for (const QStringList& w : {words({"-h"}), words({"x", "--help", "--nope"})}) {
        const Parsed p = parse(w);
        EXPECT_EQ(p.status, std::optional<int>(kExitSuccess));
        EXPECT_EQ(p.out, kHelp);
        EXPECT_TRUE(p.err.isEmpty());
    }
}

TEST(CommandLine, UsageErrorsNameTheWordInBothLanguages) {
    struct Case {
        QStringList words;
        bool operands;
        QString reason;
    };
    const Case cases[] = {
        {words({"--nope"}), true,
         QStringLiteral("错误: 未知的选项 --nope\nerror: unknown option --nope\n")},
        {words({"--nope=1", "--help"}), true, QStringLiteral("未知的选项 --nope\n")},
        {words({"--opt"}), true,
         QStringLiteral("错误: --opt 缺少参数值\nerror: --opt needs a value\n")},
        {words({"--flag=1"}), true,
         QStringLiteral("--flag 不带参数值\nerror: --flag takes no value\n")},
        {words({"x"}), false, QStringLiteral("错误: 多余的参数 x\nerror: unexpected argument x\n")},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(c.words, c.operands);
        EXPECT_EQ(p.status, std::optional<int>(kExitUsage)) << c.words.join(u' ').toStdString();
        EXPECT_TRUE(p.out.isEmpty());
        EXPECT_TRUE(p.err.contains(c.reason)) << p.err.toStdString();
        EXPECT_TRUE(p.err.endsWith(QStringLiteral("\n\n") + kHelp));
    }
}

TEST(CommandLine, FinishReportsAFailedWrite) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    const CommandLine cl(kHelp, Streams{stdin, full, stderr});
    writeText(full, QStringLiteral("结果\n"));
    EXPECT_EQ(cl.finish(kExitSuccess), kExitFailure);
    std::fclose(full);

    std::FILE* file = std::tmpfile();
    const CommandLine ok(kHelp, Streams{stdin, file, stderr});
    writeText(file, QStringLiteral("结果\n"));
    EXPECT_EQ(ok.finish(kExitSuccess), kExitSuccess);
    EXPECT_EQ(readAll(file), "结果\n");
    std::fclose(file);
}

TEST(CommandLine, LineReaderTakesLfAndCrLf) {
    std::FILE* in = fileWith("一\r\ntwo\n\nlast\r");
    LineReader reader(in);
    QStringList lines;
    QString line;
    while (reader.next(line)) lines << line;
    EXPECT_EQ(lines, words({"一", "two", "", "last"}));
    std::fclose(in);
}

// Everything openUtf8Input gives for `input`, and how many lines it replaced.
std::string reencoded(const std::string& input, long long* refused) {
    std::FILE* in = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    std::FILE* utf8 = openUtf8Input(in, InputEncoding::Auto, nullptr, refused);
    std::string out;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, utf8)) > 0) out.append(buf, n);
    std::fclose(utf8);
    std::fclose(in);
    return out;
}

// Lines pass as they are (UTF-8), GB18030 lines become UTF-8, undecodable ones U+FFFD,
// and a line beyond the limit passes unchanged, also across the reader's blocks.
TEST(CommandLine, Utf8InputReencodesLineByLine) {
    const std::string atLimit(kMaxLineBytes, 'a');
    const std::string overLimit = "\xff" + std::string(kMaxLineBytes, 'b');
    // Many lines of every length and line end across the reader's blocks, a GB18030
    // byte at every place in its line.
    std::string mixedIn;
    std::string mixedOut;
    const char* const ends[] = {"\n", "\r\n", "\r", "\n\r"};
    for (int i = 0; i < 20000; ++i) {
        std::string head(static_cast<std::size_t>(i % 23), 'x');
        const std::string end = ends[(i / 2 + i % 3) % 4];
        mixedIn += head + (i % 5 == 0 ? "\xb5\xe3" : "p") + ",1" + end;
        mixedOut += head + (i % 5 == 0 ? "点" : "p") + ",1" + end;
    }
    struct Case {
        const char* name;
        std::string input;
        std::string output;
        long long refused;
    } cases[] = {
        {"ASCII and every line break", "a,1\r\nb,2\nc\rd", "a,1\r\nb,2\nc\rd", 0},
        {"UTF-8", "点1,2\n", "点1,2\n", 0},
        {"GB18030", "\xb5\xe3,1\n", "点,1\n", 0},
        {"neither", "x\n\xff\xfe\n", "x\n\xEF\xBF\xBD\n", 1},
        {"a line at the limit", atLimit + "\nz\n", atLimit + "\nz\n", 0},
        {"a line beyond the limit", overLimit + "\r\n\xb5\xe3\n", overLimit + "\r\n点\n", 0},
        {"beyond the limit at the end", "y\n" + overLimit, "y\n" + overLimit, 0},
        {"many lines", mixedIn, mixedOut, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        long long refused = 0;
        const std::string got = reencoded(c.input, &refused);
        EXPECT_EQ(got.size(), c.output.size());
        EXPECT_TRUE(got == c.output) << got.substr(0, 80);
        EXPECT_EQ(refused, c.refused);
    }
}

QString program() { return QStringLiteral(HC_BIN_DIR "/cli/hechuan-cli"); }

TEST(CommandLineProgram, ClosedOutputPipeIsAFailureNotASignal) {
    std::string input;
    for (int i = 0; i < 20000; ++i) input += "1+1\n";
    std::FILE* in = fileWith(input);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);  // nobody reads: every write fails
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ::fileno(in), 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    const QByteArray path = program().toUtf8();
    char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>("eval"), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    std::fclose(in);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), kExitFailure);
}

TEST(CommandLineProgram, FullDiskIsAFailure) {
    for (const QStringList& args :
         {words({"eval", "1+1"}), words({"gk", "--from", "jw", "--to", "3"})}) {
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(program(), args);
        ASSERT_TRUE(p.waitForStarted(10000));
        p.write("A,39.41,117.5\n");
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), kExitFailure) << args.join(u' ').toStdString();
    }
}

TEST(CommandLineProgram, EverySubcommandTakesDashH) {
    for (const char* name : {"eval", "gk"}) {
        QProcess p;
        p.start(program(), {QString::fromLatin1(name), QStringLiteral("-h")});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), kExitSuccess) << name;
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(QStringLiteral("用法"))) << name;
        EXPECT_TRUE(out.contains(QStringLiteral("Usage"))) << name;
        EXPECT_TRUE(p.readAllStandardError().isEmpty()) << name;
    }
}

}  // namespace
}  // namespace hc::cli

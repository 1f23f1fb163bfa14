#pragma once
// What every hechuan-cli subcommand has in common, on QCommandLineParser:
//  - the arguments are UTF-8, whatever the locale;
//  - options are long: "--name", "--name VALUE" or "--name=VALUE"; "-h" and "--help" print
//    the subcommand's help (Chinese, then English) to standard output and exit 0;
//  - any other word, also one that starts with a single "-" (a negative number, a formula),
//    is an operand; "--" ends the options;
//  - a usage error writes its reason in Chinese and English, then the help, to standard
//    error and exits 2; a failure of the work exits 1, and so does a write to standard
//    output that failed (full disk, closed pipe).

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <functional>
#include <optional>

namespace hc::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The streams a subcommand reads and writes; tests pass files of their own.
struct Streams {
    std::FILE* in = stdin;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// A subcommand: `args` holds its name first, then its arguments; returns the exit status.
using Runner = int (*)(const QStringList& args, const Streams& io);

// The process arguments argv[0 .. argc) decoded as UTF-8.
QStringList utf8Arguments(int argc, char** argv);

// Writes `text` as UTF-8 to `f`.
void writeText(std::FILE* f, const QString& text);

// Reads `in` line by line; a line break is LF, CR LF or a lone CR.
class LineReader {
public:
    explicit LineReader(std::FILE* in) : in_(in) {}
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    // The next line, UTF-8 decoded, without its line break; false at the end of the input.
    bool next(QString& line);

private:
    std::FILE* in_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
};

// The options of one subcommand and what one call gave them.
class CommandLine {
public:
    // `help` is the whole help text, Chinese then English, ending in a line break.
    CommandLine(QString help, const Streams& io);

    // Declares "--name" (no value) and "--name VALUE" (may be repeated).
    void addFlag(const QString& name);
    void addOption(const QString& name);
    // Operands are refused unless allowed.
    void allowOperands() { operandsAllowed_ = true; }

    // Reads `args` (the subcommand's name first). Returns the exit status when the command
    // is done already: 0 after the help, 2 after a usage error (both written); nothing
    // when it should run.
    std::optional<int> parse(const QStringList& args);

    bool isSet(const QString& name) const { return parser_.isSet(name); }
    // The last value given, or `byDefault` when there is none.
    QString value(const QString& name, const QString& byDefault = {}) const;
    // Every value given, in order.
    QStringList values(const QString& name) const { return parser_.values(name); }
    QStringList operands() const { return operands_; }
    // Calls `each` with every operand in order or, when none was given, with every line
    // of standard input that is not blank.
    void forEachValue(const std::function<void(const QString&)>& each) const;

    // Writes "错误: <chinese>", "error: <english>", an empty line and the help to standard
    // error; returns 2.
    int usageError(const QString& chinese, const QString& english) const;

    // Flushes standard output; when a write to it failed, says so on standard error and
    // returns 1, else returns `status`.
    int finish(int status) const;

private:
    bool takesValue(const QString& name) const;
    bool known(const QString& name) const;

    QString help_;
    Streams io_;
    QCommandLineParser parser_;
    QStringList flags_;
    QStringList valued_;
    QStringList operands_;
    bool operandsAllowed_ = false;
};

}  // namespace hc::cli

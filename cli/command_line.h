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

#include "engine/notice.h"

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

// The process arguments argv[0 .. argc) decoded as UTF-8, or as GB18030 where they are
// not UTF-8; nothing when an argument is neither (its position, from 0, in `bad`).
std::optional<QStringList> decodedArguments(int argc, char** argv, int* bad = nullptr);
// The same, with U+FFFD for bytes that are neither.
QStringList utf8Arguments(int argc, char** argv);

// Writes `text` as UTF-8 to `f`.
void writeText(std::FILE* f, const QString& text);

// Writes each notice as one line to `f`, but of notices with the same text only the first
// kNoticeRepeats and in all only the first kNoticeLines, then one line with the count of
// those left out, so that a flood of notices stays readable.
inline constexpr int kNoticeRepeats = 5;
inline constexpr int kNoticeLines = 100;
void writeNotices(std::FILE* f, const Notices& notices, bool trimmed = false);

// Lines longer than this (in bytes, without the line break) are refused unread.
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

// How input bytes become text: "auto" takes each line as UTF-8 when it is valid UTF-8,
// else as GB18030 when it is valid GB18030; "utf-8" and "gb18030" take only that one.
enum class InputEncoding { Auto, Utf8, Gb18030 };
std::optional<InputEncoding> inputEncodingOfName(const QString& name);

// Decodes single lines under one encoding rule and remembers whether GB18030 was used.
class LineDecoder {
public:
    explicit LineDecoder(InputEncoding encoding = InputEncoding::Auto) : encoding_(encoding) {}
    // The text of `bytes`, or nothing when they are not valid in the encoding taken.
    std::optional<QString> decode(const char* bytes, std::size_t size);
    // True once a line was decoded as GB18030 in "auto" mode (for the one notice).
    bool tookGb18030() const { return tookGb18030_; }
    InputEncoding encoding() const { return encoding_; }

private:
    InputEncoding encoding_;
    bool tookGb18030_ = false;
};

// The notice written once when input was read as GB18030 in "auto" mode.
QString gb18030NoticeText();
// The message for line `number` (from 1) that is not valid in the encoding, and for one
// longer than kMaxLineBytes.
QString undecodableLineText(long long number, InputEncoding encoding);
QString overlongLineText(long long number, std::size_t maxBytes = kMaxLineBytes);

// Reads `in` line by line; a line break is LF, CR LF or a lone CR. Each line is decoded
// by a LineDecoder; a line that cannot be decoded or is longer than `maxLineBytes` is
// refused: its message goes to `err` (when given) and it reads as an empty line.
// The one GB18030 notice goes to `err` too. Throws std::bad_alloc when a line does not
// fit in memory (never splits it).
class LineReader {
public:
    explicit LineReader(std::FILE* in, InputEncoding encoding = InputEncoding::Auto,
                        std::FILE* err = nullptr, std::size_t maxLineBytes = kMaxLineBytes)
        : in_(in), err_(err), decoder_(encoding), maxLineBytes_(maxLineBytes) {}
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    enum class Read { End, Line, Refused };
    Read read(QString& line);
    // The next line without its line break (empty for a refused one); false at the end.
    bool next(QString& line) { return read(line) != Read::End; }
    // Lines read so far, refused ones included, and of them the refused.
    long long lineNumber() const { return lineNumber_; }
    long long refusedLines() const { return refused_; }

private:
    std::FILE* in_;
    std::FILE* err_;
    LineDecoder decoder_;
    std::size_t maxLineBytes_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    long long lineNumber_ = 0;
    long long refused_ = 0;
    bool noticed_ = false;
};

// A stream that gives the bytes of `in` with every line re-encoded as UTF-8 under
// `encoding` and its line breaks kept, for readers that take UTF-8 bytes. A line that
// cannot be decoded is reported to `err` and replaced by a lone U+FFFD; a line longer
// than kMaxLineBytes is passed on unchanged for the reader to refuse. `refused`, when
// given, counts the replaced lines. Close it with std::fclose (which leaves `in` open);
// nullptr when it cannot be made.
std::FILE* openUtf8Input(std::FILE* in, InputEncoding encoding, std::FILE* err, long long* refused);

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
    // Declares "--encoding utf-8|gb18030|auto" for standard input and adds it to the help.
    void addEncodingOption();

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
    // The encoding chosen by --encoding (auto when not given).
    InputEncoding encoding() const { return encoding_; }

    // Calls `each` with every operand in order or, when none was given, with every line
    // of standard input; each call writes one output line. A blank value or line writes
    // an empty line instead, and so does a refused line (its message on standard
    // error). Stops at the first failed write. Returns 1 when a line was refused, else 0.
    int forEachValue(const std::function<void(const QString&)>& each) const;

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
    bool encodingOption_ = false;
    InputEncoding encoding_ = InputEncoding::Auto;
};

// Runs a subcommand; when memory runs out, writes the out-of-memory message to standard
// error and returns 1.
int runCatchingOutOfMemory(Runner run, const QStringList& args, const Streams& io);
// The out-of-memory message, Chinese then English, ending in a line break.
QString outOfMemoryText();

}  // namespace hc::cli

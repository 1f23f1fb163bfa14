#include "cli/command_line.h"

#include <stdio.h>
#include <sys/types.h>

#include <QByteArray>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace hc::cli {

std::optional<QStringList> decodedArguments(int argc, char** argv, int* bad) {
    LineDecoder decoder;
    QStringList args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i) {
        std::optional<QString> arg = decoder.decode(argv[i], std::strlen(argv[i]));
        if (!arg) {
            if (bad) *bad = i;
            return std::nullopt;
        }
        args << *arg;
    }
    return args;
}

QStringList utf8Arguments(int argc, char** argv) {
    QStringList args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i) args << QString::fromUtf8(argv[i]);
    return args;
}

void writeText(std::FILE* f, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), f);
}

void writeNotices(std::FILE* f, const Notices& notices, bool trimmed) {
    QHash<QString, int> seen;
    qsizetype written = 0;
    qsizetype left = 0;
    for (const Notice& n : notices) {
        int& count = seen[n.text];
        if (++count > kNoticeRepeats || written >= kNoticeLines) {
            ++left;
            continue;
        }
        writeText(f, (trimmed ? n.text.trimmed() : n.text) + u'\n');
        ++written;
    }
    if (left > 0) {
        writeText(
            f, QStringLiteral("（另有 %1 条提示未显示）/ (%1 more notices not shown)\n").arg(left));
    }
}

std::optional<InputEncoding> inputEncodingOfName(const QString& name) {
    if (name.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) return InputEncoding::Auto;
    if (name.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("utf8"), Qt::CaseInsensitive) == 0)
        return InputEncoding::Utf8;
    if (name.compare(QLatin1String("gb18030"), Qt::CaseInsensitive) == 0)
        return InputEncoding::Gb18030;
    return std::nullopt;
}

namespace {

bool isAscii(const char* bytes, std::size_t size) {
    // Eight bytes at a time: a byte of 0x80 or more sets its top bit in the union.
    std::size_t i = 0;
    std::uint64_t any = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + i, 8);
        any |= word;
    }
    for (; i < size; ++i) any |= static_cast<unsigned char>(bytes[i]);
    return (any & 0x8080808080808080ULL) == 0;
}

// A byte order mark is kept as U+FEFF, as QString::fromUtf8 keeps it; the readers that
// care remove it themselves.
std::optional<QString> decodeStrict(QStringConverter::Encoding encoding, const char* bytes,
                                    std::size_t size) {
    QStringDecoder decoder(
        encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(bytes, static_cast<qsizetype>(size)));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

std::optional<QString> decodeGb18030(const char* bytes, std::size_t size) {
    QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) return std::nullopt;
    QString text = decoder.decode(QByteArrayView(bytes, static_cast<qsizetype>(size)));
    if (decoder.hasError()) return std::nullopt;
    return text;
}

}  // namespace

std::optional<QString> LineDecoder::decode(const char* bytes, std::size_t size) {
    if (isAscii(bytes, size)) return QString::fromLatin1(bytes, static_cast<qsizetype>(size));
    if (encoding_ != InputEncoding::Gb18030) {
        if (std::optional<QString> text = decodeStrict(QStringConverter::Utf8, bytes, size))
            return text;
        if (encoding_ == InputEncoding::Utf8) return std::nullopt;
    }
    std::optional<QString> text = decodeGb18030(bytes, size);
    if (text && encoding_ == InputEncoding::Auto) tookGb18030_ = true;
    return text;
}

QString gb18030NoticeText() {
    return QStringLiteral(
        "提示: 输入中有不是 UTF-8 的行，已按 GB18030 编码读取\n"
        "notice: input lines that are not UTF-8 were read as GB18030\n");
}

QString undecodableLineText(long long number, InputEncoding encoding) {
    const QString n = QString::number(number);
    switch (encoding) {
        case InputEncoding::Utf8:
            return QStringLiteral(
                       "错误: 第 %1 行不是有效的 UTF-8 文字，未读取\n"
                       "error: line %1 is not valid UTF-8 and was not read\n")
                .arg(n);
        case InputEncoding::Gb18030:
            return QStringLiteral(
                       "错误: 第 %1 行不是有效的 GB18030 文字，未读取\n"
                       "error: line %1 is not valid GB18030 and was not read\n")
                .arg(n);
        case InputEncoding::Auto:
            break;
    }
    return QStringLiteral(
               "错误: 第 %1 行既不是 UTF-8 也不是 GB18030 文字，未读取\n"
               "error: line %1 is neither UTF-8 nor GB18030 text and was not read\n")
        .arg(n);
}

QString overlongLineText(long long number, std::size_t maxBytes) {
    return QStringLiteral(
               "错误: 第 %1 行超过 %2 MiB（%3 字节），未读取\n"
               "error: line %1 is longer than %2 MiB (%3 bytes) and was not read\n")
        .arg(number)
        .arg(maxBytes >> 20)
        .arg(maxBytes);
}

LineReader::~LineReader() { std::free(buffer_); }

LineReader::Read LineReader::read(QString& line) {
    // getdelim() stops at one delimiter only; a lone CR must end a line too, so that
    // formulas from old Mac text files are not merged into one.
    std::size_t len = 0;
    bool overlong = false;
    int c = EOF;
    flockfile(in_);
    while ((c = getc_unlocked(in_)) != EOF && c != '\n' && c != '\r') {
        if (len >= maxLineBytes_) {
            overlong = true;
            continue;
        }
        if (len + 1 >= capacity_) {
            const std::size_t grown = capacity_ < 256 ? 256 : capacity_ * 2;
            char* b = static_cast<char*>(std::realloc(buffer_, grown));
            if (!b) {
                funlockfile(in_);
                throw std::bad_alloc();
            }
            buffer_ = b;
            capacity_ = grown;
        }
        buffer_[len++] = static_cast<char>(c);
    }
    if (c == '\r') {
        const int after = getc_unlocked(in_);
        if (after != '\n' && after != EOF) ungetc(after, in_);
    }
    funlockfile(in_);
    if (c == EOF && len == 0) return Read::End;
    ++lineNumber_;
    std::optional<QString> text;
    if (!overlong) text = decoder_.decode(buffer_, len);
    if (!noticed_ && decoder_.tookGb18030()) {
        noticed_ = true;
        if (err_) writeText(err_, gb18030NoticeText());
    }
    if (text) {
        line = std::move(*text);
        return Read::Line;
    }
    ++refused_;
    if (err_) {
        writeText(err_, overlong ? overlongLineText(lineNumber_, maxLineBytes_)
                                 : undecodableLineText(lineNumber_, decoder_.encoding()));
    }
    line.clear();
    return Read::Refused;
}

namespace {

// The state behind openUtf8Input's stream.
class Utf8Input {
public:
    Utf8Input(std::FILE* in, InputEncoding encoding, std::FILE* err, long long* refused)
        : in_(in), err_(err), refused_(refused), decoder_(encoding) {}

    ssize_t read(char* to, std::size_t size) {
        while (outPos_ == out_.size()) {
            out_.clear();
            outPos_ = 0;
            if (!fill()) return 0;
        }
        const std::size_t n = std::min(size, out_.size() - outPos_);
        std::memcpy(to, out_.data() + outPos_, n);
        outPos_ += n;
        return static_cast<ssize_t>(n);
    }

private:
    // Turns the next block of input into output; false at the end of the input.
    bool fill() {
        if (ended_) return false;
        const std::size_t n = std::fread(raw_, 1, sizeof raw_, in_);
        if (n == 0) {
            ended_ = true;
            if (!line_.empty() || passing_) endLine();
            return !out_.empty();
        }
        // Where the next CR lies (n: none), found once for the lines before it.
        std::size_t cr = 0;
        bool crKnown = false;
        for (std::size_t i = 0; i < n;) {
            const char c = raw_[i];
            if (c == '\n' || c == '\r') {
                if (!(c == '\n' && afterCr_)) endLine();
                afterCr_ = c == '\r';
                out_.push_back(c);
                ++i;
                continue;
            }
            afterCr_ = false;
            // The run of bytes up to the next line break, taken at once.
            if (!crKnown || cr < i) {
                const void* p = std::memchr(raw_ + i, '\r', n - i);
                cr = p ? static_cast<std::size_t>(static_cast<const char*>(p) - raw_) : n;
                crKnown = true;
            }
            const void* lf = std::memchr(raw_ + i, '\n', cr - i);
            const std::size_t end =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - raw_) : cr;
            const char* run = raw_ + i;
            std::size_t length = end - i;
            i = end;
            if (!passing_) {
                const std::size_t room = kMaxLineBytes - line_.size();
                if (length <= room) {
                    line_.append(run, length);
                    continue;
                }
                // The line grows beyond the limit: it passes unchanged for the reader to
                // refuse.
                line_.append(run, room);
                passing_ = true;
                out_ += line_;
                line_.clear();
                run += room;
                length -= room;
            }
            out_.append(run, length);
        }
        return true;
    }

    void endLine() {
        ++lineNumber_;
        if (passing_) {
            passing_ = false;
            return;
        }
        if (isAscii(line_.data(), line_.size())) {
            out_ += line_;
        } else if (const std::optional<QString> text =
                       decoder_.decode(line_.data(), line_.size())) {
            out_ += text->toStdString();
            if (!noticed_ && decoder_.tookGb18030()) {
                noticed_ = true;
                if (err_) writeText(err_, gb18030NoticeText());
            }
        } else {
            out_ += "\xEF\xBF\xBD";
            if (refused_) ++*refused_;
            if (err_) writeText(err_, undecodableLineText(lineNumber_, decoder_.encoding()));
        }
        line_.clear();
    }

    std::FILE* in_;
    std::FILE* err_;
    long long* refused_;
    LineDecoder decoder_;
    char raw_[1 << 16];
    std::string line_;
    std::string out_;
    std::size_t outPos_ = 0;
    long long lineNumber_ = 0;
    bool afterCr_ = false;
    bool passing_ = false;
    bool ended_ = false;
    bool noticed_ = false;
};

}  // namespace

std::FILE* openUtf8Input(std::FILE* in, InputEncoding encoding, std::FILE* err,
                         long long* refused) {
    auto* state = new Utf8Input(in, encoding, err, refused);
    cookie_io_functions_t functions{};
    functions.read = [](void* cookie, char* to, std::size_t size) {
        return static_cast<Utf8Input*>(cookie)->read(to, size);
    };
    functions.close = [](void* cookie) {
        delete static_cast<Utf8Input*>(cookie);
        return 0;
    };
    std::FILE* f = fopencookie(state, "r", functions);
    if (!f) delete state;
    return f;
}

CommandLine::CommandLine(QString help, const Streams& io) : help_(std::move(help)), io_(io) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    flags_ << QStringLiteral("h") << QStringLiteral("help");
}

void CommandLine::addFlag(const QString& name) {
    parser_.addOption(QCommandLineOption(name));
    flags_ << name;
}

void CommandLine::addOption(const QString& name) {
    parser_.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    valued_ << name;
}

bool CommandLine::takesValue(const QString& name) const { return valued_.contains(name); }
bool CommandLine::known(const QString& name) const {
    return flags_.contains(name) || valued_.contains(name);
}

std::optional<int> CommandLine::parse(const QStringList& args) {
    // The words are sorted here, so that the parser sees only options and their values
    // and a formula such as "-3+1" stays an operand; each word's problem is told in
    // order, before the parser would tell it in English only.
    QStringList options{args.value(0)};
    operands_.clear();
    bool ended = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& word = args[i];
        const bool option = !ended && (word.startsWith(QLatin1String("--")) || word == u"-h");
        if (!option) {
            if (!operandsAllowed_) {
                return usageError(QStringLiteral("多余的参数 ") + word,
                                  QStringLiteral("unexpected argument ") + word);
            }
            operands_ << word;
            continue;
        }
        if (word == u"--") {
            ended = true;
            continue;
        }
        const qsizetype eq = word.indexOf(u'=');
        const QString spelled = eq < 0 ? word : word.left(eq);
        const QString name = spelled.mid(spelled.startsWith(QLatin1String("--")) ? 2 : 1);
        if (!known(name)) {
            return usageError(QStringLiteral("未知的选项 ") + spelled,
                              QStringLiteral("unknown option ") + spelled);
        }
        if (name == u"h" || name == u"help") {
            writeText(io_.out, help_);
            return finish(kExitSuccess);
        }
        options << word;
        if (!takesValue(name)) {
            if (eq >= 0) {
                return usageError(spelled + QStringLiteral(" 不带参数值"),
                                  spelled + QStringLiteral(" takes no value"));
            }
        } else if (eq < 0) {
            if (i + 1 >= args.size()) {
                return usageError(spelled + QStringLiteral(" 缺少参数值"),
                                  spelled + QStringLiteral(" needs a value"));
            }
            options << args[++i];
        }
    }
    if (!parser_.parse(options)) {
        const QString problem = parser_.errorText();
        return usageError(problem, problem);
    }
    if (encodingOption_) {
        const QString name = value(QStringLiteral("encoding"), QStringLiteral("auto"));
        const std::optional<InputEncoding> e = inputEncodingOfName(name);
        if (!e) {
            return usageError(QStringLiteral("--encoding 只能是 utf-8、gb18030 或 auto: ") + name,
                              QStringLiteral("--encoding must be utf-8, gb18030 or auto: ") + name);
        }
        encoding_ = *e;
    }
    return std::nullopt;
}

QString CommandLine::value(const QString& name, const QString& byDefault) const {
    const QStringList all = parser_.values(name);
    return all.isEmpty() ? byDefault : all.last();
}

int CommandLine::usageError(const QString& chinese, const QString& english) const {
    writeText(io_.err, QStringLiteral("错误: ") + chinese + QStringLiteral("\nerror: ") + english +
                           QStringLiteral("\n\n") + help_);
    return kExitUsage;
}

int CommandLine::forEachValue(const std::function<void(const QString&)>& each) const {
    const auto one = [&](const QString& value) {
        if (value.trimmed().isEmpty())
            std::fputc('\n', io_.out);
        else
            each(value);
    };
    if (!operands_.isEmpty()) {
        for (const QString& v : operands_) {
            if (std::ferror(io_.out)) break;
            one(v);
        }
        return kExitSuccess;
    }
    LineReader reader(io_.in, encoding_, io_.err);
    QString line;
    LineReader::Read got;
    while (!std::ferror(io_.out) && (got = reader.read(line)) != LineReader::Read::End) {
        if (got == LineReader::Read::Refused)
            std::fputc('\n', io_.out);
        else
            one(line);
    }
    return reader.refusedLines() > 0 ? kExitFailure : kExitSuccess;
}

void CommandLine::addEncodingOption() {
    addOption(QStringLiteral("encoding"));
    encodingOption_ = true;
    help_ += QStringLiteral(
        "  --encoding utf-8|gb18030|auto  标准输入的编码（默认 auto：每行是有效的 UTF-8 时按\n"
        "                    UTF-8 读，否则按 GB18030 读并提示一次）；不能解码的行不读取，\n"
        "                    报告其行号，退出码为 1。\n"
        "  --encoding utf-8|gb18030|auto  the encoding of standard input (default auto: a\n"
        "                    line that is valid UTF-8 is read as UTF-8, any other as GB18030\n"
        "                    with one notice); a line that cannot be decoded is not read, its\n"
        "                    number is reported and the exit status is 1.\n");
}

int CommandLine::finish(int status) const {
    const bool failed = std::fflush(io_.out) != 0 || std::ferror(io_.out);
    if (!failed) return status;
    writeText(io_.err,
              QStringLiteral("错误: 无法写出结果（磁盘已满或管道已关闭）\n"
                             "error: could not write the output (disk full or pipe closed)\n"));
    std::fflush(io_.err);
    return kExitFailure;
}

namespace {
// Kept as bytes: writing it must not need memory.
const char kOutOfMemory[] =
    "错误: 内存不足，无法完成计算（输入太大？）\n"
    "error: out of memory, the work could not be completed (input too large?)\n";
}  // namespace

QString outOfMemoryText() { return QString::fromUtf8(kOutOfMemory); }

int runCatchingOutOfMemory(Runner run, const QStringList& args, const Streams& io) {
    try {
        return run(args, io);
    } catch (const std::bad_alloc&) {
        // What was written before stays; standard error is unbuffered, so the message
        // needs no memory beyond its text.
        std::fflush(io.out);
        std::fwrite(kOutOfMemory, 1, sizeof kOutOfMemory - 1, io.err);
        std::fflush(io.err);
        return kExitFailure;
    }
}

}  // namespace hc::cli

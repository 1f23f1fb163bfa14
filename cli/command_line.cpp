#include "cli/command_line.h"

#include <stdio.h>

#include <QByteArray>
#include <cstdlib>

namespace hc::cli {

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

LineReader::~LineReader() { std::free(buffer_); }

bool LineReader::next(QString& line) {
    // getdelim() stops at one delimiter only; a lone CR must end a line too, so that
    // formulas from old Mac text files are not merged into one.
    std::size_t len = 0;
    int c = EOF;
    flockfile(in_);
    while ((c = getc_unlocked(in_)) != EOF && c != '\n' && c != '\r') {
        if (len + 1 >= capacity_) {
            const std::size_t grown = capacity_ < 256 ? 256 : capacity_ * 2;
            char* b = static_cast<char*>(std::realloc(buffer_, grown));
            if (!b) break;
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
    if (c == EOF && len == 0) return false;
    line = QString::fromUtf8(buffer_, static_cast<qsizetype>(len));
    return true;
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

void CommandLine::forEachValue(const std::function<void(const QString&)>& each) const {
    if (!operands_.isEmpty()) {
        for (const QString& v : operands_) each(v);
        return;
    }
    LineReader reader(io_.in);
    QString line;
    while (reader.next(line))
        if (!line.trimmed().isEmpty()) each(line);
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

}  // namespace hc::cli

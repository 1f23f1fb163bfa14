#include "cli/point_list_input.h"

#include "cli/command_line.h"

namespace hc::cli {
namespace {

bool allSpaces(const QString& line) {
    for (const QChar c : line)
        if (c != u' ') return false;
    return true;
}

}  // namespace

QString longLineMessage(qint64 line) {
    return QStringLiteral("标准输入第 %1 行超过 1 MiB，不能作为点表读取。").arg(line);
}

QString undecodedInputMessage(qint64 lines) {
    return QStringLiteral("标准输入有 %1 行不能解码，点表没有读取。").arg(lines);
}

QString spoolFailureMessage() {
    return QStringLiteral("无法把标准输入暂存到临时文件，点表没有读取。");
}

PointListInput::PointListInput(std::FILE* raw, InputEncoding encoding, std::FILE* err) {
    spool_ = std::tmpfile();
    long long undecoded = 0;
    std::FILE* in = spool_ ? openUtf8Input(raw, encoding, err, &undecoded) : nullptr;
    if (!in) {
        error_ = spoolFailureMessage();
        return;
    }
    copy(in);
    std::fclose(in);
    if (error_.isEmpty() && undecoded > 0) error_ = undecodedInputMessage(undecoded);
}

void PointListInput::copy(std::FILE* in) {
    char buffer[1 << 16];
    int last = EOF;
    std::size_t n = 0;
    qint64 line = 1;
    std::size_t lineBytes = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        last = static_cast<unsigned char>(buffer[n - 1]);
        for (std::size_t i = 0; i < n; ++i) {
            const char c = buffer[i];
            if (c == '\n' || c == '\r') {
                // CR LF counts as one line break.
                if (!(c == '\n' && i > 0 && buffer[i - 1] == '\r') &&
                    !(c == '\n' && i == 0 && lastOfChunk_ == '\r'))
                    ++line;
                lineBytes = 0;
            } else if (++lineBytes > kMaxLineBytes) {
                error_ = longLineMessage(line);
                return;
            }
        }
        lastOfChunk_ = buffer[n - 1];
        if (std::fwrite(buffer, 1, n, spool_) != n) {
            error_ = spoolFailureMessage();
            return;
        }
    }
    if (std::ferror(in) || std::fflush(spool_) != 0) error_ = spoolFailureMessage();
    endsWithLineBreak_ = last == '\n' || last == '\r';
}

PointListInput::~PointListInput() {
    if (spool_) std::fclose(spool_);
}

void PointListInput::walk(PointListMode mode, const PointRowVisitor& visit) {
    if (!error_.isEmpty()) return;
    const bool first = walks_++ == 0;
    std::rewind(spool_);
    LineReader lines(spool_);
    PointRowReader reader(mode);
    QString cleaned;
    auto readRow = [&](const QString& line) {
        cleaned.clear();
        reader.clean(line, cleaned);
        visit(reader.read(cleaned));
    };
    // One line behind: whether the last line counts depends on what follows it.
    QString held, next;
    qint64 count = 0;
    while (lines.next(next)) {
        if (count++ > 0) readRow(held);
        std::swap(held, next);
    }
    // The pasted text: the lines joined by CR LF, and one more after the last when the
    // input ends with a line break. A text of fewer than two characters is no list;
    // a last line of spaces without a line end is trimmed away with the text's
    // trailing spaces (unless it is all the text).
    if (count == 1 && !endsWithLineBreak_ && held.size() < 2) {
    } else if (count > 1 && !endsWithLineBreak_ && allSpaces(held)) {
    } else if (count > 0) {
        readRow(held);
    }
    if (first) notices_ = reader.notes().notices();
}

PointRowWalk PointListInput::walker(PointListMode mode) {
    return [this, mode](const PointRowVisitor& visit) { walk(mode, visit); };
}

void writeBoxText(std::FILE* out, std::FILE* err, const QString& box, const Notices& notices) {
    writeNotices(err, notices);
    writeText(out, box);
}

}  // namespace hc::cli

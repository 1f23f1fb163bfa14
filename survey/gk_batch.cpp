#include "survey/gk_batch.h"

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/number.h"
#include "survey/coord_text.h"
#include "survey/gk_batch_fast.h"
#include "survey/zones.h"

namespace hc {
namespace {

// Longer lines are reported and skipped unread, so that one endless line cannot exhaust
// memory.
constexpr std::size_t kMaxLineBytes = 1 << 20;

class Batch {
public:
    Batch(GkConversion op, const GkSettings& s, std::FILE* out, int chunkRows, std::FILE* report,
          int jobs)
        : settings_(s),
          converter_(op, s),
          reader_(s.separator),
          out_(out),
          report_(report),
          chunkRows_(chunkRows < 1 ? 1 : chunkRows),
          spaceSeparator_(s.separator == QLatin1String(" ")),
          latitudeFirst_(s.order == AxisOrder::XYZ),
          fastReader_(reader_.separator(), spaceSeparator_),
          chunks_(op, s),
          writer_(chunks_, out, jobs) {
        chunk_.reserve(chunkRows_);
    }

    // Returns false when reading should stop (no data, or the output failed).
    bool line(std::string_view bytes) {
        ++lineNumber_;
        bool anglesPast60 = true;
        if (!firstLine_ && fastReader_.read(bytes, nextRowNumber(), row_, &anglesPast60)) {
            // Its height is a number: the angles are all coordRowNotices could find.
            taken(anglesPast60);
            if (static_cast<int>(chunk_.size()) >= chunkRows_) flush();
            return !std::ferror(out_);
        }
        QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (firstLine_ && !text.isEmpty() && text[0] == QChar(0xFEFF)) text.remove(0, 1);
        if (spaceSeparator_) spaceSeparatedInPlace(text);
        if (firstLine_) {
            firstLine_ = false;
            qsizetype i = 0;
            while (i < text.size() && text[i] == u' ') ++i;
            // A blank first line means the text holds no data at all.
            if (i == text.size() || text[i].unicode() < u' ') {
                noData_ = true;
                reportLine(QStringLiteral("第一行是空行，整段输入按没有坐标数据处理"));
                return false;
            }
        }
        halfWidthInPlace(text);
        halfWidthDigitsInPlace(text);
        if (reader_.readLine(text, row_)) {
            // The quick reader's rows count too when a line without a name is numbered.
            if (!hasName(text))
                row_.name = QStringLiteral("D%1").arg(nextRowNumber(), 3, 10, QChar(u'0'));
            taken();
        } else if (!reader_.failure().isEmpty()) {
            ++skipped_;
            reportLine(reader_.failure());
        }
        return !std::ferror(out_);
    }

    // A line longer than kMaxLineBytes: reported and counted as skipped.
    void tooLong() {
        ++lineNumber_;
        firstLine_ = false;
        ++skipped_;
        reportLine(QStringLiteral("行长超过 1 MiB（1048576 字节），未读取"));
    }

    GkBatchResult finish() {
        GkBatchResult r;
        r.skipped = skipped_;
        if (noData_) return r;
        flush();
        writer_.finish();
        if (rows_ == 0) return r;
        r.rejected = writer_.rejected();
        over180_ = writer_.over180();
        write(QStringLiteral("\r\n"));
        r.rows = rows_;
        const QString gap = QStringLiteral("\r\n\r\n");
        if (orderSwitched_)
            r.remarks += gap + orderRemark(latitudeFirst_ ? AxisOrder::XYZ : AxisOrder::YXZ);
        if (over180_) r.remarks += gap + longitudeRemark();
        return r;
    }

private:
    // A row read: its findings are reported (unless `mayNotice` rules them out), and it
    // joins the chunk.
    void taken(bool mayNotice = true) {
        row_.line = lineNumber_;
        if (report_ && mayNotice) {
            for (const QString& notice : coordRowNotices(row_, converter_.geographicInput()))
                reportText(notice + u'\n');
        }
        chunk_.append(row_);
        if (static_cast<int>(chunk_.size()) >= chunkRows_) flush();
    }

    void reportLine(const QString& reason) {
        reportText(QStringLiteral("第 ") + QString::number(lineNumber_) +
                   QStringLiteral(" 行未能读取: ") + reason + u'\n');
    }

    void reportText(const QString& text) {
        if (!report_) return;
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), report_);
    }

    void write(const QString& text) {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out_);
    }

    void flush() {
        const int n = static_cast<int>(chunk_.size());
        if (n == 0) return;
        if (rows_ == 0) write(converter_.header());
        if (converter_.geographicInput()) {
            if (rows_ == 0) {
                const CoordOrder o = ZelJingWeiShunXu(chunk_, n, settings_.order);
                latitudeFirst_ = o.order == AxisOrder::XYZ;
                orderSwitched_ = o.order != settings_.order;
            }
        }
        // The chunk is converted, and its longitudes checked, on the writer's threads.
        writer_.submit(std::move(chunk_), latitudeFirst_);
        rows_ += n;
        chunk_ = writer_.spareRows();
        chunk_.reserve(chunkRows_);
    }

    qint64 nextRowNumber() const { return rows_ + chunk_.size() + 1; }

    // A data line has a name unless it starts, after spaces, with a digit, ".", "+" or "-".
    static bool hasName(const QString& line) {
        qsizetype i = 0;
        while (i < line.size() && line[i] == u' ') ++i;
        if (i == line.size()) return true;
        const char16_t c = line[i].unicode();
        return !((c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-');
    }

    const GkSettings settings_;
    const GkRowConverter converter_;
    CoordLineReader reader_;
    std::FILE* out_;
    std::FILE* report_;
    const int chunkRows_;
    const bool spaceSeparator_;
    bool latitudeFirst_;
    bool firstLine_ = true;
    bool noData_ = false;
    bool orderSwitched_ = false;
    bool over180_ = false;
    long long rows_ = 0;
    long long skipped_ = 0;
    long long lineNumber_ = 0;
    QList<CoordRow> chunk_;
    CoordRow row_;
    const FastLineReader fastReader_;
    const ChunkConverter chunks_;
    OrderedChunkWriter writer_;
};

}  // namespace

GkBatchResult convertBatch(GkConversion op, const GkSettings& settings, std::FILE* in,
                           std::FILE* out, int chunkRows, std::FILE* report, int jobs) {
    Batch batch(op, settings, out, chunkRows, report, jobs);
    std::string pending;
    bool skipLineFeed = false;  // after a CR, a following LF belongs to it
    bool any = false;
    bool stop = false;
    bool overlong = false;  // the line being gathered passed kMaxLineBytes
    std::vector<char> buffer(1 << 16);
    char* const buf = buffer.data();
    std::size_t n = 0;
    while (!stop && (n = std::fread(buf, 1, buffer.size(), in)) > 0) {
        any = true;
        std::size_t start = 0;
        std::size_t i = 0;
        // Where the next CR lies (n: none), found once for the lines before it.
        std::size_t cr = 0;
        bool crKnown = false;
        while (i < n && !stop) {
            if (skipLineFeed) {
                skipLineFeed = false;
                if (buf[i] == '\n') {
                    start = ++i;
                    continue;
                }
            }
            if (!crKnown || cr < i) {
                const void* p = std::memchr(buf + i, '\r', n - i);
                cr = p ? static_cast<std::size_t>(static_cast<const char*>(p) - buf) : n;
                crKnown = true;
            }
            const void* lf = std::memchr(buf + i, '\n', cr - i);
            i = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - buf) : cr;
            if (i == n) break;
            const char c = buf[i];
            std::string_view line(buf + start, i - start);
            if (!pending.empty()) {
                overlong = overlong || pending.size() + line.size() > kMaxLineBytes;
                if (!overlong) pending.append(line);
                line = pending;
            } else {
                overlong = overlong || line.size() > kMaxLineBytes;
            }
            if (overlong)
                batch.tooLong();
            else
                stop = !batch.line(line);
            overlong = false;
            pending.clear();
            start = ++i;
            skipLineFeed = c == '\r';
        }
        if (!stop && start < n) {
            overlong = overlong || pending.size() + (n - start) > kMaxLineBytes;
            if (overlong)
                pending.clear();
            else
                pending.append(buf + start, n - start);
        }
    }
    if (!stop && overlong)
        batch.tooLong();
    else if (!stop && (!pending.empty() || !any))
        batch.line(pending);
    return batch.finish();
}

}  // namespace hc

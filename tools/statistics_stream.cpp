#include "tools/statistics_stream.h"

#include <gmpxx.h>

#include <QList>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "engine/calc_log.h"
#include "engine/exact_decimal.h"
#include "engine/number_reader.h"
#include "engine/number_routines.h"
#include "engine/rounding.h"
#include "engine/text_trim.h"
#include "expr/normalize.h"
#include "tools/statistics.h"
#include "tools/statistics_exact.h"

namespace hc {
namespace {

// Records (byte strings ended by CR) kept in memory up to kInMemory bytes, then in a
// temporary file.
class RecordSpool {
public:
    static constexpr std::size_t kInMemory = std::size_t{8} << 20;

    RecordSpool() = default;
    RecordSpool(const RecordSpool&) = delete;
    RecordSpool& operator=(const RecordSpool&) = delete;
    ~RecordSpool() { clear(); }

    std::string& buffer() { return memory_; }
    // Call after appending to buffer().
    void appended() {
        if (memory_.size() >= kInMemory) spill();
    }
    void clear() {
        memory_.clear();
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }

    // Calls f(begin, end) for each record, without its CR, in order; stops when f
    // returns false. Returns false when it stopped early.
    template <class F>
    bool forEach(F f) {
        if (file_) {
            if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0)
                throw std::bad_alloc();
            std::string chunk;
            std::string carry;
            chunk.resize(std::size_t{1} << 20);
            for (;;) {
                const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file_);
                if (got == 0) break;
                const char* p = chunk.data();
                const char* end = p + got;
                while (p < end) {
                    const char* cr =
                        static_cast<const char*>(std::memchr(p, '\r', std::size_t(end - p)));
                    if (!cr) {
                        carry.append(p, end);
                        break;
                    }
                    bool go;
                    if (carry.empty()) {
                        go = f(p, cr);
                    } else {
                        carry.append(p, cr);
                        go = f(carry.data(), carry.data() + carry.size());
                        carry.clear();
                    }
                    if (!go) return false;
                    p = cr + 1;
                }
            }
            // Records written after the file was read back stay in memory.
            std::fseek(file_, 0, SEEK_END);
        }
        const char* p = memory_.data();
        const char* end = p + memory_.size();
        while (p < end) {
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', std::size_t(end - p)));
            if (!cr) cr = end;
            if (!f(p, cr)) return false;
            p = cr + 1;
        }
        return true;
    }

private:
    void spill() {
        if (!file_) file_ = std::tmpfile();
        // Without a temporary file the records stay in memory.
        if (!file_) return;
        if (std::fwrite(memory_.data(), 1, memory_.size(), file_) != memory_.size())
            throw std::bad_alloc();
        memory_.clear();
    }

    std::string memory_;
    std::FILE* file_ = nullptr;
};

const mpz_class& pow10(long n) {
    static std::array<mpz_class, 64> small = [] {
        std::array<mpz_class, 64> t;
        t[0] = 1;
        for (std::size_t i = 1; i < t.size(); ++i) t[i] = t[i - 1] * 10;
        return t;
    }();
    if (n < long(small.size())) return small[std::size_t(n)];
    thread_local mpz_class big;
    mpz_ui_pow_ui(big.get_mpz_t(), 10, static_cast<unsigned long>(n));
    return big;
}

// One numeric column: the count, the sum and the sum of squares of the entries scaled
// to whole numbers by 10^scale, and the smallest and largest value.
struct ColumnSums {
    long count = 0;
    long scale = 0;
    mpz_class sum = 0;
    mpz_class squares = 0;
    mpz_class term;
    Num minimum;
    Num maximum;

    void addValue(const Num& v) {
        if (++count == 1) {
            minimum = v;
            maximum = v;
            return;
        }
        try {
            if (statLessThan(v, minimum)) minimum = v;
        } catch (...) {
        }
        try {
            if (statLessThan(maximum, v)) maximum = v;
        } catch (...) {
        }
    }

    void addExact(bool negative, const std::string& digits, long shift) {
        if (-shift > scale) {
            const mpz_class& f = pow10(-shift - scale);
            sum *= f;
            squares *= f;
            squares *= f;
            scale = -shift;
        }
        const long places = scale + shift;
        std::size_t lead = 0;
        while (lead + 1 < digits.size() && digits[lead] == '0') ++lead;
        unsigned long m = 0;
        bool small = digits.size() - lead <= 19 && places <= 19;
        for (std::size_t i = lead; small && i < digits.size(); ++i)
            m = m * 10 + unsigned(digits[i] - '0');
        if (small) {
            unsigned long scaled = 0;
            small = !__builtin_mul_overflow(m, mpz_get_ui(pow10(places).get_mpz_t()), &scaled);
            m = scaled;
        }
        if (small) {
            if (negative)
                mpz_sub_ui(sum.get_mpz_t(), sum.get_mpz_t(), m);
            else
                mpz_add_ui(sum.get_mpz_t(), sum.get_mpz_t(), m);
            mpz_set_ui(term.get_mpz_t(), m);
            mpz_addmul_ui(squares.get_mpz_t(), term.get_mpz_t(), m);
            return;
        }
        term.set_str(digits, 10);
        term *= pow10(places);
        if (negative)
            sum -= term;
        else
            sum += term;
        mpz_addmul(squares.get_mpz_t(), term.get_mpz_t(), term.get_mpz_t());
    }

    ExactColumnSums exact() const {
        ExactColumnSums e;
        e.count = count;
        e.minimum = minimum;
        e.maximum = maximum;
        if (count < 1) return e;
        const mpz_class& unit = pow10(scale);
        e.sum = mpq_class(sum, unit);
        e.sum.canonicalize();
        // The sum of (x - mean)^2 is that of x^2 less sum^2 / n.
        const mpz_class unit2 = unit * unit;
        e.squaredDeviations = mpq_class(squares * count - sum * sum, unit2 * count);
        e.squaredDeviations.canonicalize();
        return e;
    }
};

int displayWidth(QStringView s) {
    for (const QChar c : s)
        if (c.unicode() >= 0x80) return ZelXianShiKuanDu(s.toString());
    return int(s.size());
}

int displayWidthUtf8(const char* b, const char* e) {
    for (const char* p = b; p < e; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80)
            return ZelXianShiKuanDu(QString::fromUtf8(b, e - b));
    return int(e - b);
}

bool isSlotDigit(QChar c) { return c >= u'1' && c <= u'9'; }

}  // namespace

struct StatsStream::State {
    ScopedCalcLog log;
    int decimals = 15;
    bool spaceConverted = false;
    QString initialSeparator;  // after the space conversion and "tab"
    QString separator;         // the one the rows are read with
    QString map;
    bool separatorSeen = false;
    bool tabSeen = false;
    bool commaSeen = false;
    long long lines = 0;

    // Rows read so far (for the line numbers of the notices) and what they gave.
    long long rows = 0;
    std::array<int, 9> widths{};
    std::array<ColumnSums, kStatColumns> columns;
    QList<StatTable::Cell> nonNumbers;  // the first listed ones
    qsizetype nonNumberCount = 0;
    RecordSpool rowSpool;  // rewritten cells in map order, split by the separator
    RecordSpool rawSpool;  // normalised lines, until the separator is seen
    bool finished = false;

    std::string digits;  // scratch

    void resetRows() {
        rows = 0;
        widths.fill(0);
        columns = {};
        nonNumbers.clear();
        nonNumberCount = 0;
        rowSpool.clear();
    }

    void readRow(QStringView line);
};

void StatsStream::State::readRow(QStringView line) {
    ++rows;
    const QChar sepChar = separator[0];
    std::array<QStringView, 9> fields{};
    const qsizetype mapSize = map.size();
    qsizetype cell = 0;
    qsizetype start = 0;
    const qsizetype length = line.size();
    for (qsizetype p = 0; p <= length; ++p) {
        if (p < length && line[p] != sepChar) continue;
        if (cell < mapSize && isSlotDigit(map[cell]))
            fields[std::size_t(map[cell].unicode() - u'1')] = line.mid(start, p - start);
        start = p + 1;
        ++cell;
    }

    std::array<QString, 9> rewritten;  // numeric cells as canonical number text
    std::array<bool, 9> isRewritten{};
    for (int slot = 1; slot <= 9; ++slot) {
        const QStringView field = fields[std::size_t(slot - 1)];
        if (isBlankCell(field)) continue;
        if (slot >= 2 && slot <= 7) {
            const QStringView trimmed = trimSpaces(field);
            double ignored = 0;
            if (!textToDouble(trimmed, ignored)) {
                if (nonNumbers.size() < kStatNonNumbersListed)
                    nonNumbers.append({int(rows), slot, trimmed.toString()});
                ++nonNumberCount;
            }
            const Num v = ZelShuZhuanShu(field);
            QString t = trimmedText(v);
            // The messages of cells read as 0 would pile up in the log.
            if (calcLog().errorLog.size() > 65536) ZelChongZhi();
            rewritten[std::size_t(slot - 1)] = t;
            isRewritten[std::size_t(slot - 1)] = true;
            if (isBlankCell(t)) continue;
            widths[std::size_t(slot - 1)] =
                std::max(widths[std::size_t(slot - 1)], displayWidth(t));
            if (slot > kStatColumns + 1) continue;
            ColumnSums& column = columns[std::size_t(slot - 2)];
            column.addValue(v.isDecimal() ? Num::ofDecimal(canonicalDecimal(v.decimal()))
                                          : ZelShuZhuanShu(QStringView(t)));
            bool negative = false;
            long shift = 0;
            if (decimalTextParts(trimSpaces(QStringView(t)), negative, digits, shift))
                column.addExact(negative, digits, shift);
            else
                column.addExact(false, "0", 0);
        } else {
            widths[std::size_t(slot - 1)] =
                std::max(widths[std::size_t(slot - 1)], displayWidth(trimSpaces(field)));
        }
    }

    QString record;
    bool first = true;
    for (qsizetype k = 0; k < mapSize; ++k) {
        if (!isSlotDigit(map[k])) continue;
        const std::size_t s = std::size_t(map[k].unicode() - u'1');
        if (!first) record.append(sepChar);
        first = false;
        record.append(isRewritten[s] ? trimSpaces(QStringView(rewritten[s]))
                                     : trimSpaces(fields[s]));
    }
    std::string& out = rowSpool.buffer();
    const QByteArray bytes = record.toUtf8();
    out.append(bytes.constData(), std::size_t(bytes.size()));
    out.push_back('\r');
    rowSpool.appended();
}

StatsStream::StatsStream(const QString& separator, const QString& labelCells, int decimals)
    : d_(std::make_unique<State>()) {
    ZelChongZhi();
    d_->decimals = decimals;
    QString sep = separator;
    if (sep == QLatin1String(" ")) {
        sep = QStringLiteral("*");
        d_->spaceConverted = true;
    }
    if (sep.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0) sep = QStringLiteral("\t");
    d_->initialSeparator = sep;
    d_->separator = normalizedStatSeparator(sep);
    d_->map = statColumnMap(statLabelCells(labelCells));
}

StatsStream::~StatsStream() = default;

long long StatsStream::lines() const { return d_->lines; }

void StatsStream::addLine(QStringView line) {
    State& s = *d_;
    ++s.lines;
    QString text = ZelGuiFanZiFu(line.toString());
    if (s.spaceConverted) {
        text.remove(u'*');
        text.replace(u' ', u'*');
    }
    if (!s.separatorSeen) {
        const QString& chosen = s.initialSeparator;
        if (chosen.size() == 1 && text.contains(chosen[0])) {
            s.separatorSeen = true;
            s.rawSpool.clear();
        } else {
            s.tabSeen = s.tabSeen || text.contains(u'\t');
            s.commaSeen = s.commaSeen || text.contains(u',');
            const QByteArray bytes = text.toUtf8();
            s.rawSpool.buffer().append(bytes.constData(), std::size_t(bytes.size()));
            s.rawSpool.buffer().push_back('\r');
            s.rawSpool.appended();
        }
    }
    s.readRow(text);
}

StatsRun StatsStream::finish(const std::function<bool()>& cancelled) {
    State& s = *d_;
    s.finished = true;
    StatsRun run;
    if (s.spaceConverted) {
        run.separatorReset = true;
        run.notices.append(Notice{spaceSeparatorConversion(), NoticeButtons::CancelRetryContinue,
                                  separatorWarningTitle()});
    }
    // Pasted spreadsheet data: none of the chosen separator, but tabs or commas.
    if (s.initialSeparator.size() == 1 && s.lines > 0 && !s.separatorSeen &&
        (s.tabSeen || s.commaSeen)) {
        const QString found = s.tabSeen ? QStringLiteral("\t") : QStringLiteral(",");
        run.notices.append(
            Notice{statSeparatorSwitchNotice(s.initialSeparator, found), NoticeButtons::Ok, {}});
        s.separator = normalizedStatSeparator(found);
        s.resetRows();
        ZelChongZhi();
        s.rawSpool.forEach([&](const char* b, const char* e) {
            if (cancelled && cancelled()) return false;
            s.readRow(QString::fromUtf8(b, e - b));
            return true;
        });
    }
    s.rawSpool.clear();
    run.separator = s.separator;
    ZelChongZhi();

    for (int c = 0; c < kStatColumns; ++c) {
        const ColumnSums& column = s.columns[std::size_t(c)];
        if (column.count < 1) {
            for (auto& row : run.cells) row[std::size_t(c)] = QStringLiteral(" ");
            continue;
        }
        const std::array<QString, kStatRows - 1> shown =
            exactStatisticsText(column.exact(), s.decimals);
        run.cells[0][std::size_t(c)] = QString::number(column.count);
        for (int r = 1; r < kStatRows; ++r)
            run.cells[std::size_t(r)][std::size_t(c)] = shown[std::size_t(r - 1)];
    }
    if (s.nonNumberCount > 0)
        run.notices.append(Notice{
            statNonNumberNotice(s.nonNumbers, s.nonNumberCount, s.map), NoticeButtons::Ok, {}});
    run.notices.append(s.log.log().notices);
    return run;
}

bool StatsStream::writeRows(const std::function<bool(const char*, std::size_t)>& write,
                            const char* lineEnd, const std::function<bool()>& cancelled) {
    State& s = *d_;
    const char sepChar = char(s.separator[0].unicode());
    const bool aligned = s.separator != QLatin1String(" ");
    std::array<int, 64> slotOf{};  // map position -> slot index, -1 for none
    qsizetype positions = 0;
    for (const QChar digit : s.map) {
        if (!isSlotDigit(digit)) continue;
        slotOf[std::size_t(positions++)] = digit.unicode() - u'1';
    }
    const std::size_t endLength = std::strlen(lineEnd);
    std::string out;
    out.reserve(std::size_t{1} << 17);
    bool ok = true;
    auto flush = [&] {
        if (!out.empty() && !write(out.data(), out.size())) ok = false;
        out.clear();
        return ok;
    };
    const bool complete = s.rowSpool.forEach([&](const char* b, const char* e) {
        if (cancelled && cancelled()) return false;
        const std::size_t lineStart = out.size();
        const char* p = b;
        for (qsizetype k = 0; k < positions; ++k) {
            const char* cellEnd =
                static_cast<const char*>(std::memchr(p, sepChar, std::size_t(e - p)));
            if (!cellEnd) cellEnd = e;
            if (aligned) {
                const int pad = s.widths[std::size_t(slotOf[std::size_t(k)])] -
                                displayWidthUtf8(p, cellEnd) + 1;
                if (pad > 0) out.append(std::size_t(pad), ' ');
                out.append(p, cellEnd);
                out.push_back(' ');
                out.push_back(sepChar);
            } else {
                out.append(p, cellEnd);
                out.push_back(sepChar);
            }
            p = cellEnd < e ? cellEnd + 1 : e;
        }
        if (out.size() > lineStart) out.pop_back();
        out.append(lineEnd, endLength);
        if (out.size() >= (std::size_t{1} << 16)) return flush();
        return true;
    });
    if (!complete) return false;
    return flush();
}

}  // namespace hc

namespace hc {

StatsRun runStatistics(const QString& data, const QString& separator, const QString& labelCells,
                       int decimals) {
    return runStatistics(data, separator, labelCells, decimals, StatsControl{});
}

StatsRun runStatistics(const QString& data, const QString& separator, const QString& labelCells,
                       int decimals, const StatsControl& control) {
    const auto stopped = [&] { return control.cancelled && control.cancelled(); };
    const qsizetype size = data.size();
    // Reading the lines is the first half of the work, writing them the second.
    int shown = -1;
    const auto report = [&](qsizetype done, int base) {
        if (!control.progress || size == 0) return;
        const int percent = base + int(done * 50 / size);
        if (percent > shown) control.progress(shown = percent);
    };
    StatsStream stream(separator, labelCells, decimals);
    const QChar* d = data.constData();
    qsizetype start = 0;
    long long lines = 0;
    for (qsizetype p = 0; p < size; ++p) {
        if (d[p] != u'\r') continue;
        stream.addLine(QStringView(d + start, p - start));
        if (p + 1 < size && d[p + 1] == u'\n') ++p;
        start = p + 1;
        if (++lines % 4096 == 0) {
            if (stopped()) {
                StatsRun cancelled;
                cancelled.cancelled = true;
                return cancelled;
            }
            report(start, 0);
        }
    }
    if (start < size) stream.addLine(QStringView(d + start, size - start));
    StatsRun run = stream.finish(control.cancelled);
    qsizetype written = 0;
    const bool complete = stream.writeRows(
        [&](const char* bytes, std::size_t n) {
            run.data.append(QString::fromUtf8(bytes, qsizetype(n)));
            written += qsizetype(n);
            report(std::min(written, size), 50);
            return true;
        },
        "\r\n", control.cancelled);
    if (!complete || stopped()) {
        StatsRun cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    report(size, 50);
    return run;
}

}  // namespace hc

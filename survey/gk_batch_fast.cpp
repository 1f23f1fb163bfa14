#include "survey/gk_batch_fast.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/rounding.h"
#include "engine/text_trim.h"
#include "survey/decimal_text.h"
#include "survey/fast_conversion.h"

namespace hc {
namespace {

constexpr double kPow10Double[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool digitLike(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Writes units / 10^decimals with at least minInt integer digits (zero-padded) and
// all `decimals` places, "-" in front of a negative value that is not zero: the
// output formats of coord_text.h for values with no more than 15 digits.
void appendUnits(std::string& out, std::int64_t units, bool negative, int minInt, int decimals) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char digits[24];  // least significant first
    int n = 0;
    auto u = static_cast<std::uint64_t>(units);
    while (u >= 100) {
        const auto pair = static_cast<std::size_t>(u % 100) * 2;
        u /= 100;
        digits[n++] = kPairs[pair + 1];
        digits[n++] = kPairs[pair];
    }
    digits[n++] = static_cast<char>('0' + u % 10);
    if (u >= 10) digits[n++] = static_cast<char>('0' + u / 10);
    while (n < decimals + minInt) digits[n++] = '0';
    char text[32];
    int m = 0;
    if (negative && units != 0) text[m++] = '-';
    for (int i = n - 1; i >= decimals; --i) text[m++] = digits[i];
    text[m++] = '.';
    for (int i = decimals - 1; i >= 0; --i) text[m++] = digits[i];
    out.append(text, static_cast<std::size_t>(m));
}

// The name of a row without its outer spaces: where it lies in the QString, its
// display width, and whether it is plain ASCII (written without a conversion).
struct NameSpan {
    qsizetype begin = 0;
    qsizetype end = 0;
    int width = 0;
    bool ascii = true;
};

NameSpan nameSpan(const QString& name) {
    NameSpan s;
    s.end = name.size();
    while (s.begin < s.end && name[s.begin] == u' ') ++s.begin;
    while (s.end > s.begin && name[s.end - 1] == u' ') --s.end;
    const QChar* c = name.constData();
    for (qsizetype i = s.begin; i < s.end && s.ascii; ++i) s.ascii = c[i].unicode() < 0x80;
    const QStringView trimmed = QStringView(name).mid(s.begin, s.end - s.begin);
    s.width = s.ascii ? static_cast<int>(s.end - s.begin) : ZelXianShiKuanDu(trimmed.toString());
    return s;
}

void appendName(std::string& out, const QString& name, const NameSpan& s) {
    if (!s.ascii) {
        const QByteArray utf8 = QStringView(name).mid(s.begin, s.end - s.begin).toUtf8();
        out.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        return;
    }
    const QChar* c = name.constData();
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(s.end - s.begin));
    char* to = out.data() + at;
    for (qsizetype i = s.begin; i < s.end; ++i) *to++ = static_cast<char>(c[i].unicode());
}

// packedBeyondSixty of the value of a field plainFieldNumber read: up to 15 significant
// digits come back from the double as written, so the minutes and seconds are the first
// four digits after the point (zeros after a shorter fraction).
bool fieldBeyondSixty(std::string_view field) {
    const std::size_t point = field.find('.');
    if (point == std::string_view::npos) return false;
    int mmss[4] = {0, 0, 0, 0};
    for (std::size_t k = 0; k < 4 && point + 1 + k < field.size() && isDigit(field[point + 1 + k]);
         ++k) {
        mmss[k] = field[point + 1 + k] - '0';
    }
    return mmss[0] * 10 + mmss[1] >= 60 || mmss[2] * 10 + mmss[3] >= 60;
}

}  // namespace

bool plainFieldNumber(std::string_view f, double& value) {
    std::size_t b = 0;
    std::size_t e = f.size();
    while (b < e && f[b] == ' ') ++b;
    while (e > b && f[e - 1] == ' ') --e;
    std::size_t i = b;
    const bool negative = i < e && f[i] == '-';
    if (negative) ++i;
    const std::size_t intStart = i;
    while (i < e && isDigit(f[i])) ++i;
    const std::size_t intLen = i - intStart;
    if (intLen == 0 || (intLen > 1 && f[intStart] == '0')) return false;
    std::size_t fracLen = 0;
    if (i < e && f[i] == '.') {
        ++i;
        const std::size_t fracStart = i;
        while (i < e && isDigit(f[i])) ++i;
        fracLen = i - fracStart;
        if (fracLen == 0) return false;
    }
    // The number ends here; a second point, a sign or an exponent is left to the reader.
    if (i < e && (digitLike(f[i]) || f[i] == 'e' || f[i] == 'E')) return false;
    if (intLen + fracLen > 19 || fracLen > 22) return false;
    std::uint64_t m = 0;
    for (std::size_t k = intStart; k < i; ++k) {
        if (f[k] != '.') m = m * 10 + static_cast<std::uint64_t>(f[k] - '0');
    }
    // Up to 15 significant digits the double read back through its 15 digits is the
    // nearest double of the text, which one division of two exact doubles gives.
    if (m >= 1000000000000000ULL) return false;
    if (m == 0) {
        value = 0.0;
        return true;
    }
    const double v = static_cast<double>(m) / kPow10Double[fracLen];
    value = negative ? -v : v;
    return true;
}

FastLineReader::FastLineReader(QChar separator, bool spaceSeparated)
    : sep_(separator.unicode() < 0x7f ? static_cast<char>(separator.unicode()) : 0),
      spaceSeparated_(spaceSeparated) {
    for (int u = 0; u < 256; ++u) {
        const char c = static_cast<char>(u);
        std::uint64_t k = 0;
        if (u >= 0x7f || (u < 0x20 && !(c == '\t' && sep_ == '\t' && !spaceSeparated_)))
            k += kOneRefused;
        if (c == sep_) k += kOneSeparator;
        if (digitLike(c)) k += kOneDigitLike;
        if (c == ' ') k += kOneSpace;
        kinds_[static_cast<std::size_t>(u)] = k;
    }
}

bool FastLineReader::read(std::string_view line, qint64 rowNumber, CoordRow& row,
                          bool* anglesPast60) const {
    // The counts below have 16 bits each; the literal reader takes longer lines.
    if (sep_ == 0 || line.size() > 0xffff) return false;
    std::uint64_t counts = 0;
    for (const char c : line) counts += kinds_[static_cast<unsigned char>(c)];
    const auto kind = [counts](std::uint64_t one) {
        return static_cast<int>((counts / one) & 0xffff);
    };
    if (kind(kOneRefused) != 0) return false;
    // Runs of spaces are shortened by the half-width pass.
    if (kind(kOneSpace) > 1 && line.find("  ") != std::string_view::npos) return false;
    const int seps = kind(kOneSeparator);
    const int digits = kind(kOneDigitLike);
    if (seps < 1 || digits <= 1 || digits < seps) return false;

    std::size_t b = 0;
    while (b < line.size() && line[b] == ' ') ++b;
    const std::string_view t = line.substr(b);
    if (t.empty()) return false;
    const bool named = !digitLike(t[0]);
    std::string_view fields[4];
    int count = 0;
    std::size_t start = 0;
    while (count < 4) {
        const void* at = std::memchr(t.data() + start, sep_, t.size() - start);
        const std::size_t end =
            at ? static_cast<std::size_t>(static_cast<const char*>(at) - t.data()) : t.size();
        fields[count++] = t.substr(start, end - start);
        if (end == t.size()) break;
        start = end + 1;
    }
    const int at = named ? 1 : 0;
    double first = 0;
    double second = 0;
    double height = 0;
    if (count < at + 2 || !plainFieldNumber(fields[at], first) ||
        !plainFieldNumber(fields[at + 1], second)) {
        return false;
    }
    const bool hasHeight = count > at + 2;
    if (hasHeight && !plainFieldNumber(fields[at + 2], height)) return false;
    if (anglesPast60)
        *anglesPast60 = fieldBeyondSixty(fields[at]) || fieldBeyondSixty(fields[at + 1]);
    row.first = first;
    row.second = second;
    row.hasHeight = hasHeight;
    row.height = height;
    row.badHeight.clear();
    if (named) {
        row.name = QString::fromLatin1(fields[0].data(), static_cast<qsizetype>(fields[0].size()));
    } else {
        row.name = QStringLiteral("D%1").arg(rowNumber, 3, 10, QChar(u'0'));
    }
    return true;
}

ChunkConverter::ChunkConverter(GkConversion op, const GkSettings& s)
    : literal_(op, s),
      in_(inputZone(op)),
      out_(outputZone(op)),
      set_(&ellipsoidOf(s.datum)),
      meridian_(s.meridian),
      xyz_(s.order == AxisOrder::XYZ),
      withNames_(s.withNames),
      fast_(s.options.isDefault()) {}

// What the rows of a chunk share with the row before: the zone, the text of the last
// remark written; and the longitude in degrees of the row at hand, NaN until known.
struct ChunkConverter::RowMemo {
    fast::ZoneMemo zone;
    fast::GridRemark kind = fast::GridRemark::None;
    double meridian = 0;
    std::string text;
    double lonDegrees = 0;
};

bool ChunkConverter::fastRow(const CoordRow& row, bool latitudeFirst, std::string& out,
                             RowMemo& memo) const {
    const bool firstIsNorth = in_ ? xyz_ : latitudeFirst;
    double u = firstIsNorth ? row.first : row.second;  // northing or latitude
    double v = firstIsNorth ? row.second : row.first;  // easting or longitude
    std::int64_t a = 0;
    std::int64_t b = 0;
    bool aNegative = false;
    bool bNegative = false;
    if (in_) {
        fast::FastGeo g{};
        if (!fast::toGeographicFast(*in_, u, v, *set_, kZoneGrid, g)) return false;
        u = g.lat;
        v = g.lon;
        a = g.latUnits;
        b = g.lonUnits;
        aNegative = g.latNegative;
        bNegative = g.lonNegative;
    }
    fast::GridRemark remark = fast::GridRemark::None;
    double remarkMeridian = 0;
    if (out_) {
        fast::FastGrid g{};
        g.lonDegrees = std::nan("");
        const bool done = fast::toGridFast(*out_, u, v, meridian_, *set_, kZoneGrid, g, &memo.zone);
        if (!in_ && !std::isnan(g.lonDegrees)) memo.lonDegrees = g.lonDegrees;
        if (!done) return false;
        a = g.xMm;
        b = g.yMm;
        aNegative = g.xNegative;
        bNegative = g.yNegative;
        remark = g.remark;
        remarkMeridian = g.meridian;
    }
    const int aInt = out_ ? 7 : 2;
    const int bInt = out_ ? 8 : 3;
    const int places = out_ ? 3 : 8;
    if (xyz_) {
        appendUnits(out, a, aNegative, aInt, places);
        out += " , ";
        appendUnits(out, b, bNegative, bInt, places);
    } else {
        appendUnits(out, b, bNegative, bInt, places);
        out += " , ";
        appendUnits(out, a, aNegative, aInt, places);
    }
    if (row.height != 0) {
        char buf[400];
        out += " , ";
        out.append(buf,
                   static_cast<std::size_t>(survey_detail::formatFixed(row.height, 1, 3, 3, buf)));
    }
    out += ' ';
    if (in_ && out_) out += ' ';
    if (remark != fast::GridRemark::None) {
        if (remark != memo.kind || remarkMeridian != memo.meridian) {
            memo.kind = remark;
            memo.meridian = remarkMeridian;
            memo.text = fast::gridRemarkText(remark, remarkMeridian).toStdString();
        }
        out += memo.text;
    }
    out += "\r\n";
    return true;
}

ChunkOutput ChunkConverter::convert(const QList<CoordRow>& rows, bool latitudeFirst,
                                    std::string buffer) const {
    ChunkOutput r;
    r.bytes = std::move(buffer);
    r.bytes.clear();
    const qsizetype n = rows.size();
    std::vector<NameSpan> names(withNames_ ? static_cast<std::size_t>(n) : 0);
    int width = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = nameSpan(rows[static_cast<qsizetype>(i)].name);
        width = std::max(width, names[i].width);
    }
    r.bytes.reserve(static_cast<std::size_t>(n) * 56);
    RowMemo memo;
    for (qsizetype i = 0; i < n; ++i) {
        const CoordRow& row = rows[i];
        const std::size_t mark = r.bytes.size();
        if (withNames_) {
            const NameSpan& name = names[static_cast<std::size_t>(i)];
            appendName(r.bytes, row.name, name);
            r.bytes.append(static_cast<std::size_t>(width - name.width), ' ');
            r.bytes += " , ";
        }
        memo.lonDegrees = std::nan("");
        const bool quick = fast_ && fastRow(row, latitudeFirst, r.bytes, memo);
        if (!in_) {
            const double lon = std::isnan(memo.lonDegrees)
                                   ? fast::packedToDegrees(latitudeFirst ? row.second : row.first)
                                   : memo.lonDegrees;
            r.over180 = r.over180 || std::fabs(lon) > 180;
        }
        if (quick) continue;
        r.bytes.resize(mark);
        const QString column = withNames_ ? nameColumn(row.name, width) : QString();
        QString text;
        if (!literal_.appendRow(row, column, latitudeFirst, text)) ++r.rejected;
        r.bytes += text.toStdString();
    }
    return r;
}

OrderedChunkWriter::OrderedChunkWriter(const ChunkConverter& converter, std::FILE* out, int jobs)
    : converter_(converter), out_(out) {
    if (jobs > 1) {
        const int threads = std::min(jobs, kMaxThreads);
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    }
}

OrderedChunkWriter::~OrderedChunkWriter() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void OrderedChunkWriter::work() {
    for (;;) {
        std::packaged_task<ChunkOutput()> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
            if (tasks_.empty()) return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

void OrderedChunkWriter::submit(QList<CoordRow> rows, bool latitudeFirst) {
    std::string buffer;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!spareBytes_.empty()) {
            buffer = std::move(spareBytes_.back());
            spareBytes_.pop_back();
        }
    }
    std::packaged_task<ChunkOutput()> task(
        [this, rows = std::move(rows), latitudeFirst, buffer = std::move(buffer)]() mutable {
            ChunkOutput o = converter_.convert(rows, latitudeFirst, std::move(buffer));
            rows.clear();
            const std::lock_guard<std::mutex> lock(mutex_);
            spareRows_.push_back(std::move(rows));
            return o;
        });
    pending_.push_back(task.get_future());
    if (threads_.empty()) {
        task();
    } else {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        wake_.notify_one();
    }
    // Two chunks per thread keep the threads busy; each holds about 0.7 MB.
    while (pending_.size() > 2 * threads_.size()) writeFront();
}

void OrderedChunkWriter::finish() {
    while (!pending_.empty()) writeFront();
}

QList<CoordRow> OrderedChunkWriter::spareRows() {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (spareRows_.empty()) return {};
    QList<CoordRow> rows = std::move(spareRows_.back());
    spareRows_.pop_back();
    return rows;
}

void OrderedChunkWriter::writeFront() {
    ChunkOutput o = pending_.front().get();
    pending_.pop_front();
    std::fwrite(o.bytes.data(), 1, o.bytes.size(), out_);
    rejected_ += o.rejected;
    over180_ = over180_ || o.over180;
    const std::lock_guard<std::mutex> lock(mutex_);
    spareBytes_.push_back(std::move(o.bytes));
}

}  // namespace hc

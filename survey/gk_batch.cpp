#include "survey/gk_batch.h"

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/number.h"
#include "survey/coord_text.h"
#include "survey/zones.h"

namespace hc {
namespace {

// Longer lines are cut here so that one endless line cannot exhaust memory.
constexpr std::size_t kMaxLineBytes = 1 << 20;

QString orderSwitchRemark(bool latitudeFirst) {
    return latitudeFirst ? QStringLiteral("备注∴原始数据按纬度在前 X Y Z 型处理∴")
                         : QStringLiteral("备注∴原始数据按经度在前 Y X Z 型处理∴");
}

class Batch {
public:
    Batch(GkConversion op, const GkSettings& s, std::FILE* out, int chunkRows)
        : settings_(s),
          converter_(op, s),
          reader_(s.separator),
          out_(out),
          chunkRows_(chunkRows < 1 ? 1 : chunkRows),
          spaceSeparator_(s.separator == QLatin1String(" ")),
          latitudeFirst_(s.mode == QLatin1String("XYZ")) {
        chunk_.reserve(chunkRows_);
    }

    // Returns false when reading should stop (no data).
    bool line(std::string_view bytes) {
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
                return false;
            }
        }
        halfWidthInPlace(text);
        if (reader_.readLine(text, row_)) {
            chunk_.append(row_);
            if (static_cast<int>(chunk_.size()) >= chunkRows_) flush();
        }
        return true;
    }

    GkBatchResult finish() {
        GkBatchResult r;
        if (noData_) return r;
        flush();
        if (rows_ == 0) return r;
        write(QStringLiteral("\r\n"));
        r.rows = rows_;
        if (orderSwitched_)
            r.remarks += QLatin1String("\r\n\r\n") + orderSwitchRemark(latitudeFirst_);
        if (over180_) r.remarks += QStringLiteral("\r\n\r\n备注∴原始数据的经度大于180度错误∴");
        return r;
    }

private:
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
                const CoordOrder o = ZelJingWeiShunXu(chunk_, n, settings_.mode);
                latitudeFirst_ = o.order == QLatin1String("XYZ");
                orderSwitched_ = o.order != settings_.mode;
            }
            for (const CoordRow& row : chunk_) {
                const double lon =
                    ZelDuFenMiaoZhuanBaiFenDu(latitudeFirst_ ? row.second : row.first);
                over180_ = over180_ || std::fabs(lon) > 180;
            }
        }
        const int width = settings_.withNames ? nameColumnWidth(chunk_, n) : 0;
        QString text;
        text.reserve(n * 64);
        for (const CoordRow& row : chunk_) {
            const QString names = settings_.withNames ? nameColumn(row.name, width) : QString();
            converter_.appendRow(row, names, latitudeFirst_, text);
        }
        write(text);
        rows_ += n;
        chunk_.clear();
    }

    const GkSettings settings_;
    const GkRowConverter converter_;
    CoordLineReader reader_;
    std::FILE* out_;
    const int chunkRows_;
    const bool spaceSeparator_;
    bool latitudeFirst_;
    bool firstLine_ = true;
    bool noData_ = false;
    bool orderSwitched_ = false;
    bool over180_ = false;
    long long rows_ = 0;
    QList<CoordRow> chunk_;
    CoordRow row_;
};

}  // namespace

GkBatchResult convertBatch(GkConversion op, const GkSettings& settings, std::FILE* in,
                           std::FILE* out, int chunkRows) {
    Batch batch(op, settings, out, chunkRows);
    std::string pending;
    bool skipLineFeed = false;  // after a CR, a following LF belongs to it
    bool any = false;
    bool stop = false;
    static thread_local char buf[1 << 16];
    std::size_t n = 0;
    while (!stop && (n = std::fread(buf, 1, sizeof buf, in)) > 0) {
        any = true;
        std::size_t start = 0;
        for (std::size_t i = 0; i < n && !stop; ++i) {
            const char c = buf[i];
            if (skipLineFeed) {
                skipLineFeed = false;
                if (c == '\n') {
                    start = i + 1;
                    continue;
                }
            }
            if (c != '\n' && c != '\r') continue;
            std::string_view line(buf + start, i - start);
            if (!pending.empty()) {
                if (pending.size() < kMaxLineBytes)
                    pending.append(line.substr(0, kMaxLineBytes - pending.size()));
                line = pending;
            } else if (line.size() > kMaxLineBytes) {
                line = line.substr(0, kMaxLineBytes);
            }
            stop = !batch.line(line);
            pending.clear();
            start = i + 1;
            skipLineFeed = c == '\r';
        }
        if (!stop && start < n && pending.size() < kMaxLineBytes) {
            pending.append(buf + start, std::min(n - start, kMaxLineBytes - pending.size()));
        }
    }
    if (!stop && (!pending.empty() || !any)) batch.line(pending);
    return batch.finish();
}

namespace {

void print(std::FILE* f, const QString& text) {
    const QByteArray b = text.toUtf8();
    std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
}

QString usageText() {
    return QStringLiteral(
        "用法: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "  从标准输入读取坐标数据文本（每行：序号、两个坐标、高程，用分隔符隔开），\n"
        "  把坐标换算结果写到标准输出。jw 为经纬度（度.分秒），1.5、3、6 为分带公里网坐标。\n"
        "  换算：经纬度与各分带互换，以及 1.5->3、3->6、3->1.5、6->3。\n"
        "Usage: hechuan-cli gk --from jw|1.5|3|6 --to jw|1.5|3|6 [--ellipsoid BJ|XA|WGS]\n"
        "        [--meridian 117] [--separator ,] [--order xyz|yxz] [--no-names]\n"
        "  Reads a coordinate data text (lines of name, two coordinates and height, split by\n"
        "  the separator) from standard input and writes the converted block to standard\n"
        "  output. jw is latitude/longitude (packed d.mmss), 1.5, 3 and 6 are zone grids.\n"
        "  Conversions: geographic to and from each zone, and 1.5->3, 3->6, 3->1.5, 6->3.\n");
}

int usageError(std::FILE* err, const QString& chinese, const QString& english) {
    print(err, QStringLiteral("错误: ") + chinese + QStringLiteral("\nerror: ") + english +
                   QStringLiteral("\n\n") + usageText());
    return 2;
}

// "jw" is 0, the zones 15, 3 and 6; -1 when unknown.
int zoneOf(const QString& s) {
    if (s.compare(QLatin1String("jw"), Qt::CaseInsensitive) == 0) return 0;
    if (s == QLatin1String("1.5")) return 15;
    if (s == QLatin1String("3")) return 3;
    if (s == QLatin1String("6")) return 6;
    return -1;
}

// The meridian text begins with a number ("117", "-1.5度"), not with a word that the
// setting would read as 0.
bool startsWithNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (i < text.size() && text[i] == u'.') ++i;
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

bool conversionOf(int from, int to, GkConversion& op) {
    struct Pair {
        int from;
        int to;
        GkConversion op;
    };
    static const Pair pairs[] = {
        {15, 3, GkConversion::Zone15To3},   {3, 6, GkConversion::Zone3To6},
        {3, 15, GkConversion::Zone3To15},   {6, 3, GkConversion::Zone6To3},
        {15, 0, GkConversion::Zone15ToGeo}, {3, 0, GkConversion::Zone3ToGeo},
        {6, 0, GkConversion::Zone6ToGeo},   {0, 15, GkConversion::GeoToZone15},
        {0, 3, GkConversion::GeoToZone3},   {0, 6, GkConversion::GeoToZone6},
    };
    for (const Pair& p : pairs) {
        if (p.from == from && p.to == to) {
            op = p.op;
            return true;
        }
    }
    return false;
}

}  // namespace

int gkMain(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err) {
    QString from;
    QString to;
    QString ellipsoid = QStringLiteral("BJ");
    QString meridian = QStringLiteral("117");
    QString separator = QStringLiteral(",");
    QString order = QStringLiteral("xyz");
    bool withNames = true;

    for (int i = 1; i < argc; ++i) {
        QString arg = QString::fromLocal8Bit(argv[i]);
        QString value;
        bool hasValue = false;
        const qsizetype eq = arg.indexOf(u'=');
        if (arg.startsWith(QLatin1String("--")) && eq > 0) {
            value = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasValue = true;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            print(out, usageText());
            return 0;
        }
        if (arg == QLatin1String("--no-names")) {
            if (hasValue) {
                return usageError(err, QStringLiteral("--no-names 不带参数值"),
                                  QStringLiteral("--no-names takes no value"));
            }
            withNames = false;
            continue;
        }
        QString* target = arg == QLatin1String("--from")        ? &from
                          : arg == QLatin1String("--to")        ? &to
                          : arg == QLatin1String("--ellipsoid") ? &ellipsoid
                          : arg == QLatin1String("--meridian")  ? &meridian
                          : arg == QLatin1String("--separator") ? &separator
                          : arg == QLatin1String("--order")     ? &order
                                                                : nullptr;
        if (!target) {
            return usageError(err, QStringLiteral("未知的参数 ") + arg,
                              QStringLiteral("unknown argument ") + arg);
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                return usageError(err, arg + QStringLiteral(" 缺少参数值"),
                                  arg + QStringLiteral(" needs a value"));
            }
            value = QString::fromLocal8Bit(argv[++i]);
        }
        *target = value;
    }

    if (from.isEmpty() || to.isEmpty()) {
        return usageError(err, QStringLiteral("必须给出 --from 和 --to"),
                          QStringLiteral("--from and --to are required"));
    }
    GkConversion op{};
    const int f = zoneOf(from);
    const int t = zoneOf(to);
    if (f < 0 || t < 0 || !conversionOf(f, t, op)) {
        return usageError(
            err, QStringLiteral("不支持的换算 ") + from + QStringLiteral(" -> ") + to,
            QStringLiteral("unsupported conversion ") + from + QStringLiteral(" -> ") + to);
    }

    GkControls controls;
    controls.withNames = withNames;
    const QString code = ellipsoid.toUpper();
    if (code == QLatin1String("BJ")) {
        controls.ellipsoid = QStringLiteral("北京");
    } else if (code == QLatin1String("XA")) {
        controls.ellipsoid = QStringLiteral("西安");
    } else if (code == QLatin1String("WGS")) {
        controls.ellipsoid = QStringLiteral("WGS");
    } else {
        return usageError(err, QStringLiteral("椭球参数只能是 BJ、XA 或 WGS"),
                          QStringLiteral("--ellipsoid must be BJ, XA or WGS"));
    }
    if (order.compare(QLatin1String("xyz"), Qt::CaseInsensitive) == 0) {
        controls.xyzMode = true;
    } else if (order.compare(QLatin1String("yxz"), Qt::CaseInsensitive) == 0) {
        controls.xyzMode = false;
    } else {
        return usageError(err, QStringLiteral("--order 只能是 xyz 或 yxz"),
                          QStringLiteral("--order must be xyz or yxz"));
    }
    if (separator.compare(QLatin1String("tab"), Qt::CaseInsensitive) != 0 &&
        !separatorChoices().contains(separator)) {
        return usageError(
            err, QStringLiteral("分隔符只能是列表中的一个字符或 Tab: ") + separator,
            QStringLiteral("the separator must be one of , * / % $ # @ & ! ? ; : \" ' "
                           "( ) < > [ ] { } | _ \\ Tab or a space: ") +
                separator);
    }
    controls.separator = separator;
    const MeridianSetting m = ZelZhongYangJingDu(meridian);
    if (!m.valid || !startsWithNumber(meridian)) {
        return usageError(err, invalidMeridianMessage(),
                          QStringLiteral("the central meridian must lie within -180 ... 180 and be "
                                         "a multiple of 1.5: ") +
                              meridian);
    }
    controls.meridian = meridian;

    QString unused;
    const GkSettings settings = ZelDuQuSheZhi(controls, unused);
    const GkBatchResult r = convertBatch(op, settings, in, out);
    std::fflush(out);
    if (r.rows == 0) {
        print(err, noCoordinateDataText() + QStringLiteral("\n"));
        return 1;
    }
    if (!r.remarks.isEmpty()) {
        QString remarks = r.remarks;
        remarks.replace(QLatin1String("\r\n\r\n"), QLatin1String("\n"));
        print(err, remarks.mid(1) + QStringLiteral("\n"));
    }
    return std::ferror(out) ? 1 : 0;
}

}  // namespace hc

// "hechuan-cli gk" run in-process on files: options, exit status and what goes where.
#include "cli/gk_command.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "survey/coord_conversion.h"
#include "survey/gk_options.h"
#include "survey/zones.h"
#include "tests/cli/sketch_svg_reader.h"
#include "tests/survey/print_qstring.h"
#include "tests/survey/temp_file.h"

namespace hc {
namespace {

struct GkRun {
    int status;
    QString out;
    QString err;
};

GkRun gk(const std::vector<std::string>& args, const std::string& input) {
    QStringList all{QStringLiteral("gk")};
    for (const std::string& a : args) all << QString::fromStdString(a);
    std::FILE* in = fileWith(input);
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = cli::runGk(all, cli::Streams{in, out, err});
    GkRun r{status, QString::fromStdString(readAll(out)), QString::fromStdString(readAll(err))};
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return r;
}

// The counts of the last line of standard error ("合计：读取 R 行，换算 C 行，拒绝 J 行，
// 跳过 S 行"), or nothing when it is not there.
struct Counts {
    long long read, converted, rejected, skipped;
    bool operator==(const Counts&) const = default;
};
std::optional<Counts> countsOf(const QString& err) {
    static const QRegularExpression line(
        QStringLiteral("合计：读取 (\\d+) 行，换算 (\\d+) 行，拒绝 (\\d+) 行，跳过 (\\d+) 行\\n$"));
    const QRegularExpressionMatch m = line.match(err);
    if (!m.hasMatch()) return std::nullopt;
    return Counts{m.captured(1).toLongLong(), m.captured(2).toLongLong(),
                  m.captured(3).toLongLong(), m.captured(4).toLongLong()};
}

// The rows of an output block (header and the block's closing empty line left out).
QStringList rowsOf(const QString& out) {
    QStringList lines = out.split(QStringLiteral("\r\n"));
    return lines.size() < 3 ? QStringList() : lines.mid(1, lines.size() - 3);
}

const std::string kGeo =
    "A01 , 39.4125536 , 117.5017873 , 23.441\r\n"
    "Ｚ2 , 39.4041 , 117.4814 , 19.838\r\n"
    "例3 , 39.4053387 , 117.4815132 , 19.851\r\n"
    "39.4053387 , 117.4815132 , 19.851\r\n"
    "\r\n"
    "示例提示:\r\n";

TEST(GkCommand, WritesTheWindowsOutputBlockForEveryConversion) {
    struct Case {
        const char* from;
        const char* to;
        GkConversion op;
        std::string input;
    };
    const std::string grid3 = "P1,4395494.607,39571908.236,12\r\nP2,4395570.260,39571909.407\r\n";
    const std::string grid6 = "P1,4395494.607,20571908.236,12\r\nP2,0,0\r\n";
    const std::string grid15 = "P1,4395494.607,77571908.236,12\r\nP2,3000000,-20400000\r\n";
    const Case cases[] = {
        {"1.5", "3", GkConversion::Zone15To3, grid15},
        {"3", "6", GkConversion::Zone3To6, grid3},
        {"3", "1.5", GkConversion::Zone3To15, grid3},
        {"6", "3", GkConversion::Zone6To3, grid6},
        {"1.5", "jw", GkConversion::Zone15ToGeo, grid15},
        {"3", "jw", GkConversion::Zone3ToGeo, grid3},
        {"6", "jw", GkConversion::Zone6ToGeo, grid6},
        {"jw", "1.5", GkConversion::GeoToZone15, kGeo},
        {"jw", "3", GkConversion::GeoToZone3, kGeo},
        {"JW", "6", GkConversion::GeoToZone6, kGeo},
    };
    for (const Case& c : cases) {
        for (const char* ellipsoid : {"BJ", "XA", "WGS", "2000"}) {
            const GkRun r = gk({"--from", c.from, "--to", c.to, "--ellipsoid", ellipsoid}, c.input);
            GkControls controls;
            const std::string code = ellipsoid;
            controls.ellipsoid = QString::fromUtf8(code == "BJ"   ? "北京"
                                                   : code == "XA" ? "西安"
                                                                  : ellipsoid);
            const GkResult w =
                ZelZuoBiaoZhuanHuan(c.op, QString::fromStdString(c.input), QString(), controls);
            EXPECT_EQ(r.status, 0) << c.from << " -> " << c.to;
            EXPECT_EQ(r.out, w.output) << c.from << " -> " << c.to << " " << ellipsoid;
            // Only the count line: every row read, those with an error remark rejected.
            const QStringList rows = rowsOf(r.out);
            const long long rejected = rows.filter(QStringLiteral(" 错误")).size();
            EXPECT_EQ(countsOf(r.err), (Counts{rows.size(), rows.size() - rejected, rejected, 0}))
                << r.err.toStdString();
            EXPECT_EQ(r.err.count(u'\n'), 1);
        }
    }
}

TEST(GkCommand, OptionsMatchTheWindowSettings) {
    const std::string tabbed = "A\t39.4125536\t117.5017873\r\n";
    GkControls c;
    c.separator = QStringLiteral("Tab");
    c.order = QStringLiteral("Y X Z模式");
    c.withNames = false;
    c.meridian = QStringLiteral("118.5");
    const GkResult w =
        ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone6, QString::fromStdString(tabbed), QString(), c);
    const GkRun r = gk({"--from=jw", "--to=6", "--separator", "tab", "--order", "yxz", "--no-names",
                        "--meridian", "118.5"},
                       tabbed);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, w.output);
    EXPECT_TRUE(r.out.contains(QStringLiteral("⊕⊕中央 117度")));
    // The detected order goes to standard error, before the counts.
    EXPECT_EQ(r.err, QStringLiteral("备注∴原始数据按纬度在前 X Y Z 型处理∴\n"
                                    "合计：读取 1 行，换算 1 行，拒绝 0 行，跳过 0 行\n"));

    const GkRun spaced = gk({"--from", "jw", "--to", "3", "--separator", " "},
                            "A   39.4125536\t117.5017873  23.441\n");
    EXPECT_EQ(spaced.status, 0);
    EXPECT_TRUE(spaced.out.contains(QStringLiteral("A , 4395570.260 , 39571909.407 , 23.441 \r\n")))
        << spaced.out.toStdString();
}

TEST(GkCommand, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--from", "jw"},
        {"--from", "jw", "--to", "jw"},
        {"--from", "1.5", "--to", "6"},
        {"--from", "2", "--to", "3"},
        {"--from", "jw", "--to", "3", "--ellipsoid", "CGCS"},
        {"--from", "jw", "--to", "3", "--meridian", "117.7"},
        {"--from", "jw", "--to", "3", "--meridian", "181"},
        {"--from", "jw", "--to", "3", "--meridian", ""},
        {"--from", "jw", "--to", "3", "--meridian", "abc"},
        {"--from", "jw", "--to", "3", "--meridian", "度"},
        {"--from", "jw", "--to", "3", "--meridian", "E117"},
        {"--from", "jw", "--to", "3", "--separator", "ab"},
        {"--from", "jw", "--to", "3", "--separator", "."},
        {"--from", "jw", "--to", "3", "--order", "zxy"},
        {"--from", "jw", "--to", "3", "--frobnicate"},
        {"--from", "jw", "--to"},
        {"--from", "jw", "--to", "3", "--no-names=1"},
        {"--from", "jw", "--to", "3", "--meridian", "117.0060"},  // 60 seconds
        {"--from", "jw", "--to", "3", "--meridian", "117°60′"},
        {"--from", "jw", "--to", "3", "--k0", "0"},
        {"--from", "jw", "--to", "3", "--k0", "-0.9996"},
        {"--from", "jw", "--to", "3", "--k0", "abc"},
        {"--from", "jw", "--to", "3", "--k0", ""},
        {"--from", "jw", "--to", "3", "--k0", "nan"},
        {"--from", "jw", "--to", "3", "--false-easting", "1000000"},  // the zone's digits
        {"--from", "jw", "--to", "3", "--false-easting", "-1"},
        {"--from", "jw", "--to", "3", "--false-northing", "1e999"},
        {"--from", "jw", "--to", "3", "--height", "200000"},
        {"--from", "jw", "--to", "3", "--height", "1km"},
        {"--from", "jw", "--to", "3", "--extra=1"},
    };
    for (const auto& args : bad) {
        const GkRun r = gk(args, "A,1,2\n");
        EXPECT_EQ(r.status, 2) << (args.empty() ? std::string() : args.back());
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(r.err.contains(QStringLiteral("用法")));
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage")));
    }
    for (const char* meridian : {"0", "-1.5度", "+.0", " 117度-6", "117.15", "117°15′30″"}) {
        EXPECT_EQ(gk({"--from", "jw", "--to", "3", "--meridian", meridian}, "A,1,2\n").status, 0)
            << meridian;
    }
    // A local grid has no zone digits to keep clear of; negative values as option values.
    for (const std::vector<std::string>& good :
         {std::vector<std::string>{"--meridian", "117.15", "--false-easting", "-5000"},
          {"--false-northing", "-100", "--height", "-250.5"},
          {"--false-northing=-100", "--k0=0.9996", "--extra"}}) {
        std::vector<std::string> args{"--from", "jw", "--to", "3"};
        args.insert(args.end(), good.begin(), good.end());
        EXPECT_EQ(gk(args, "A,39.41,117.30\n").status, 0) << good.front();
    }
    const GkRun help = gk({"--help"}, "");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("用法")));
}

TEST(GkCommand, NoDataIsAnErrorWithTheWindowsMessage) {
    for (const std::string& input : {std::string(), std::string("\n39.41,117.50\n"),
                                     std::string("   \r\nA,1,2"), std::string("no data here\n")}) {
        const GkRun r = gk({"--from", "jw", "--to", "3"}, input);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(r.err.contains(QStringLiteral("没有发现坐标数据！\n")));
        ASSERT_TRUE(countsOf(r.err).has_value());
        EXPECT_EQ(countsOf(r.err)->read, 0);
        // A blank first line hides whatever follows; it is said so.
        const bool blankFirst = input.empty() || input[0] == '\n' || input[0] == ' ';
        EXPECT_EQ(r.err.startsWith(QStringLiteral("第 1 行未能读取: 第一行是空行")), blankFirst)
            << r.err.toStdString();
    }
}

TEST(GkCommand, BadFieldsNeverStopTheRun) {
    const GkRun r = gk({"--from", "jw", "--to", "3"},
                       "P1,1e999,1e999\nP2,abc,def\nP3,95,117\nP4,1e300,-1e300,1e308\n"
                       "P5,39.41,117.50,zz\n" +
                           std::string(200000, 'x') + "\nP6," + std::string(3000, '9') +
                           ",1\nP7,39." + std::string(300, '4') + ",117.5\n");
    EXPECT_EQ(r.status, 0);
    const QStringList lines = r.out.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);  // header, P3, P4, P5, P7, the block's empty line, ""
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("P3 , 0000000.000 , 00000000.000 错误溢出?")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral(" , 1") + QString(308, u'0') +
                                  QStringLiteral(".000 错误")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("P5 , ")));
    EXPECT_EQ(lines[4], QStringLiteral("P7 , 4401701.143 , 39571426.505 "));
    EXPECT_TRUE(r.err.contains(QStringLiteral("备注∴原始数据的经度大于180度错误∴")));
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Points around 117 and 120 degrees, on both sides of the 3 degree zone boundary, with
// and without height, and one out of range.
const std::string kPoints =
    "A01 , 39.4125536 , 117.5017873 , 23.441\r\n"
    "B , 45.3 , 116.0012\r\n"
    "C , 30.1 , 119.2959 , 1.5\r\n"
    "D , -12.3456 , 120.15\r\n"
    "E , 95 , 117\r\n";

TEST(GkCommand, OptionsAtTheirDefaultsChangeNoByte) {
    const std::vector<std::string> defaults{
        "--k0", "1", "--false-easting", "500000", "--false-northing", "0", "--height", "0"};
    const std::string grid3 = "P1,4395494.607,39571908.236,12\r\nP2,0,0\r\nP3,3000000,38400000\r\n";
    const char* const conversions[][3] = {{"jw", "3", "k"}, {"jw", "6", "k"}, {"jw", "1.5", "k"},
                                          {"3", "jw", "g"}, {"3", "6", "g"},  {"3", "1.5", "g"}};
    for (const auto& c : conversions) {
        const std::string& input = c[2][0] == 'k' ? kPoints : grid3;
        const std::vector<std::string> base{"--from", c[0], "--to", c[1]};
        const GkRun plain = gk(base, input);
        const GkRun spelled = gk(with(base, defaults), input);
        EXPECT_EQ(plain.status, 0);
        EXPECT_EQ(spelled.out, plain.out) << c[0] << " -> " << c[1];
        EXPECT_EQ(spelled.err, plain.err);
        // The meridian as the packed degrees of a listed one: the same zones.
        EXPECT_EQ(gk(with(base, {"--meridian", "118.30"}), input).out,
                  gk(with(base, {"--meridian", "118.5"}), input).out);
    }
}

// The northing, the easting and what follows them in a row "name , x , y ...".
struct GridRow {
    double x;
    double y;
    QString rest;
};
GridRow gridRow(const QString& row) {
    static const QRegularExpression grid(
        QStringLiteral("^.*? , (-?\\d+\\.\\d{3}) , (-?\\d+\\.\\d{3})(.*)$"));
    const QRegularExpressionMatch m = grid.match(row);
    if (!m.hasMatch()) return {0, 0, row};
    return {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)};
}

TEST(GkCommand, ScaleAndFalseOriginScaleAndShiftTheDefaultGrid) {
    struct Case {
        const char* to;
        double k0;
        double fe;
        double fn;
    };
    for (const Case& c : {Case{"3", 0.9996, 400000, 1000000}, Case{"6", 0.9999, 500000, -20000},
                          Case{"1.5", 1.0002, 123456.789, 10000000}}) {
        const std::vector<std::string> base{"--from", "jw", "--to", c.to, "--ellipsoid", "XA"};
        const GkRun plain = gk(base, kPoints);
        const GkRun scaled =
            gk(with(base, {"--k0", QString::number(c.k0, 'g', 17).toStdString(), "--false-easting",
                           QString::number(c.fe, 'g', 17).toStdString(), "--false-northing",
                           QString::number(c.fn, 'g', 17).toStdString()}),
               kPoints);
        ASSERT_EQ(scaled.status, 0) << scaled.err.toStdString();
        const QStringList a = rowsOf(plain.out);
        const QStringList b = rowsOf(scaled.out);
        ASSERT_EQ(a.size(), 5);
        ASSERT_EQ(b.size(), a.size());
        for (qsizetype i = 0; i < a.size(); ++i) {
            const GridRow p = gridRow(a[i]);
            const GridRow q = gridRow(b[i]);
            EXPECT_EQ(q.rest, p.rest) << b[i].toStdString();  // height and remark
            if (p.rest.contains(QStringLiteral("错误"))) {
                EXPECT_EQ(q.x, 0);
                EXPECT_EQ(q.y, 0);
                continue;
            }
            const double zone = std::trunc(p.y / 1000000) * 1000000;
            // Both sides are rounded to the millimetre.
            EXPECT_NEAR(q.x, c.fn + c.k0 * p.x, 0.0011) << a[i].toStdString();
            EXPECT_NEAR(q.y - zone - c.fe, c.k0 * (p.y - zone - 500000), 0.0011)
                << a[i].toStdString();
        }
    }
}

TEST(GkCommand, LocalMeridianGridHasNoZoneNumberAndComesBack) {
    const GkRun grid = gk({"--from", "jw", "--to", "3", "--meridian", "117.15"}, kPoints);
    ASSERT_EQ(grid.status, 0);
    const QStringList rows = rowsOf(grid.out);
    ASSERT_EQ(rows.size(), 5);
    // A, B within 1.5 degrees of 117 15; C 2.2 and D 3.0 degrees off: still on it, with
    // the cross-zone remark; E out of range.
    for (qsizetype i = 0; i < 4; ++i) {
        const GridRow r = gridRow(rows[i]);
        EXPECT_GT(r.y, 0);
        EXPECT_LT(r.y, 1000000) << rows[i].toStdString();
        EXPECT_EQ(r.rest.contains(QStringLiteral("……跨带 117.25度")), i >= 2)
            << rows[i].toStdString();
    }
    EXPECT_TRUE(rows[4].contains(QStringLiteral("错误")));
    EXPECT_EQ(countsOf(grid.err), (Counts{5, 4, 1, 0}));

    // Back with the same meridian: the points as given, to the 8 places shown.
    const GkRun back =
        gk({"--from", "3", "--to", "jw", "--meridian", "117°15′"}, grid.out.toStdString());
    ASSERT_EQ(back.status, 0);
    const QStringList geo = rowsOf(back.out);
    ASSERT_EQ(geo.size(), 5);
    EXPECT_TRUE(geo[0].startsWith(QStringLiteral("A01 , 39.41255360 , 117.50178730 , 23.441 ")));
    EXPECT_TRUE(geo[3].startsWith(QStringLiteral("D   , -12.34560000 , 120.15000000 ")));

    // The window keeps its own rule: only multiples of 1.5.
    GkControls controls;
    controls.meridian = QStringLiteral("117.15");
    const GkResult w = ZelZuoBiaoZhuanHuan(GkConversion::GeoToZone3,
                                           QString::fromStdString(kPoints), QString(), controls);
    EXPECT_TRUE(w.settings.meridianReset);
    EXPECT_EQ(w.settings.meridian, 117);
}

// The convergence (decimal degrees) and scale columns of an output row with --extra.
struct Extras {
    double gamma;
    double k;
    qsizetype at;      // where the columns start
    qsizetype length;  // their length, without the space before the remark
};
std::optional<Extras> extrasOf(const QString& row) {
    static const QRegularExpression columns(
        QStringLiteral(" , (-?\\d\\d\\.\\d{8}) , (\\d\\.\\d{10}) "));
    const QRegularExpressionMatch m = columns.match(row);
    if (!m.hasMatch()) return std::nullopt;
    return Extras{ZelDuFenMiaoZhuanBaiFenDu(m.captured(1).toDouble()), m.captured(2).toDouble(),
                  m.capturedStart(), m.capturedLength() - 1};
}

TEST(GkCommand, ExtraColumnsFollowTheHeightAndLeaveTheCoordinatesAlone) {
    const GkRun plain = gk({"--from", "jw", "--to", "3"}, kPoints);
    const GkRun extra = gk({"--from", "jw", "--to", "3", "--extra"}, kPoints);
    ASSERT_EQ(extra.status, 0);
    const QStringList a = rowsOf(plain.out);
    const QStringList b = rowsOf(extra.out);
    const QStringList in = QString::fromStdString(kPoints).split(QStringLiteral("\r\n"));
    ASSERT_EQ(b.size(), a.size());
    GkGridOptions o;
    o.extra = true;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const std::optional<Extras> e = extrasOf(b[i]);
        ASSERT_TRUE(e.has_value()) << b[i].toStdString();
        // The row without the two columns is the plain row.
        EXPECT_EQ(QString(b[i]).remove(e->at, e->length), a[i]);
        if (a[i].contains(QStringLiteral("错误"))) {
            EXPECT_EQ(e->gamma, 0);
            EXPECT_EQ(e->k, 0);
            continue;
        }
        // The columns show the point's convergence and scale to their last places.
        const QStringList f = in[i].split(QStringLiteral(" , "));
        const ConvertedPoint p = convertWithOptions(std::nullopt, ZoneWidth::Three, f[1].toDouble(),
                                                    f[2].toDouble(), 117, beijing1954(), o);
        EXPECT_NEAR(e->gamma * 3600, p.gamma * 3600, 0.5e-4 + 1e-9);
        EXPECT_NEAR(e->k, p.k, 0.5e-10 + 1e-15);
    }

    // Latitude and longitude output: the columns of the input grid, the same point.
    const GkRun back = gk({"--from", "3", "--to", "jw", "--extra"}, plain.out.toStdString());
    ASSERT_EQ(back.status, 0);
    const QStringList c = rowsOf(back.out);
    ASSERT_EQ(c.size(), b.size());
    for (qsizetype i = 0; i < c.size(); ++i) {
        if (a[i].contains(QStringLiteral("错误"))) continue;
        const std::optional<Extras> there = extrasOf(b[i]);
        const std::optional<Extras> here = extrasOf(c[i]);
        ASSERT_TRUE(here.has_value()) << c[i].toStdString();
        EXPECT_NEAR(here->gamma * 3600, there->gamma * 3600, 2e-4) << c[i].toStdString();
        EXPECT_NEAR(here->k, there->k, 2e-10) << c[i].toStdString();
    }
}

TEST(GkCommand, LinesThatLookLikeDataButGiveNoRowAreReported) {
    const std::string input =
        "示例提示:\r\n"                   // 1 no separator: a note
        "A01,39.4125536,117.5017873\r\n"  // 2 row
        "bad,x,1\r\n"                     // 3 one digit
        "序号,X(2000),Y\r\n"              // 4 the first coordinate is a word
        "P9,12\r\n"                       // 5 one coordinate
        "P8,39.41,east\r\n"               // 6 the second is a word
        "----,----\r\n"                   // 7 no digit: a ruler line
        "\r\n"                            // 8 blank
        "1,2,,,,,\r\n"                    // 9 more separators than digits
        "39.4053387,117.4815132\r\n";     // 10 row
    const GkRun r = gk({"--from", "jw", "--to", "3"}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(rowsOf(r.out).size(), 2);
    EXPECT_EQ(r.err, QStringLiteral("第 3 行未能读取: 只有一个数字字符，不是坐标数据\n"
                                    "第 4 行未能读取: 第一个坐标不是数字: X(2000)\n"
                                    "第 5 行未能读取: 坐标不足两个\n"
                                    "第 6 行未能读取: 第二个坐标不是数字: east\n"
                                    "第 9 行未能读取: 分隔符比数字字符多\n"
                                    "合计：读取 2 行，换算 2 行，拒绝 0 行，跳过 5 行\n"));
}

// The reported cases: a false easting that pushed the easting into the neighbouring
// zone's numbers, and the inverse refusing a point 5.98 degrees from its meridian.
TEST(GkCommand, EastingsStayInTheirZoneAndComeBack) {
    const GkRun plain = gk({"--from", "jw", "--to", "6"}, "A,30,114.2\n");
    ASSERT_EQ(rowsOf(plain.out).size(), 1);
    EXPECT_TRUE(rowsOf(plain.out)[0].contains(QStringLiteral(" , 20"))) << plain.out.toStdString();
    const GkRun shifted =
        gk({"--from", "jw", "--to", "6", "--false-easting", "100000"}, "A,30,114.2\n");
    EXPECT_EQ(shifted.status, 0);
    EXPECT_EQ(rowsOf(shifted.out), QStringList{QStringLiteral("A , 0000000.000 , 00000000.000 ") +
                                               eastingOutsideZoneMessage()});
    EXPECT_EQ(countsOf(shifted.err), (Counts{1, 0, 1, 0}));

    const GkRun back = gk({"--from", "6", "--to", "jw"}, "D,5780410.155,20088793.693\n");
    ASSERT_EQ(rowsOf(back.out).size(), 1);
    // 5 59' 24" west of 117.
    EXPECT_EQ(rowsOf(back.out)[0], QStringLiteral("D , 51.59599999 , 111.00359975 "));
    EXPECT_EQ(countsOf(back.err), (Counts{1, 1, 0, 0}));
}

// Packed angles with 60 minutes or seconds or more and heights that are not numbers
// are named on standard error, line by line in reading order, on both reading paths.
TEST(GkCommand, ClampedAnglesAndNonNumberHeightsAreNamed) {
    const std::string input =
        "A1,39.7000,117.5017873\n"
        "A2 , 39.5975 , 117.5017873 , 高\n"
        "bad,x,1\n"
        "39.4125536,117.5960\n";
    const GkRun r = gk({"--from", "jw", "--to", "3"}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(rowsOf(r.out).size(), 3);
    EXPECT_EQ(r.err, QStringLiteral(
                         "第 1 行（A1）第一个坐标 39.7 的分或秒达到 60，按 40°00′00″ 计算\n"
                         "第 2 行（A2）第一个坐标 39.5975 的分或秒达到 60，按 40°00′00″ 计算\n"
                         "第 2 行（A2）高程 高 不是数字，按 0 计算\n"
                         "第 3 行未能读取: 只有一个数字字符，不是坐标数据\n"
                         "第 4 行（D003）第二个坐标 117.596 的分或秒达到 60，按 118°00′00″ 计算\n"
                         "合计：读取 3 行，换算 3 行，拒绝 0 行，跳过 1 行\n"));
    // Grid input reads no angles: the same numbers give no notice.
    const GkRun g =
        gk({"--from", "3", "--to", "jw"}, "P,4395494.6,39571908.2,x\nQ,4395494.6,39571908.7\n");
    EXPECT_EQ(g.err, QStringLiteral("第 1 行（P）高程 x 不是数字，按 0 计算\n"
                                    "合计：读取 2 行，换算 2 行，拒绝 0 行，跳过 0 行\n"));
}

TEST(GkCommand, FullWidthDigitsMinusAndSemicolonReadAsTheirAsciiForms) {
    const GkRun ascii = gk({"--from", "jw", "--to", "3", "--separator", ";"},
                           "A;39.4125536;117.5017873;23.441\n;-12.3456;120.15\n");
    const GkRun wide = gk({"--from", "jw", "--to", "3", "--separator", ";"},
                          "A；３９．４１２５５３６；１１７．５０１７８７３；２３．４４１\n"
                          "；－１２．３４５６；１２０．１５\n");
    EXPECT_EQ(wide.status, 0);
    EXPECT_EQ(rowsOf(wide.out).size(), 2);
    EXPECT_EQ(wide.out, ascii.out);
    EXPECT_EQ(wide.err, ascii.err);
    // The window reads its data text as before: full-width digits are not numbers there.
    EXPECT_EQ(ZelQuanJiaoZhuanBanJiao(QStringLiteral("A，３９．４")), QStringLiteral("A,３９.４"));
}

TEST(GkCommand, SvgOptionSketchesTheGridSideBesideTheUsualOutput) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // B lies 100 m north of A, C 100 m east of it.
    const std::string grid = "A,4395500,39571900\r\nB,4395600,39571900\r\nC,4395500,39572000\r\n";
    const GkRun inversePlain = gk({"--from", "3", "--to", "jw"}, grid);
    ASSERT_EQ(inversePlain.status, 0);
    const std::string geo = inversePlain.out.toStdString();
    struct Case {
        const char* from;
        const char* to;
        std::string input;  // the grid side is the input of the first, the output of the second
    };
    for (const Case& c : {Case{"3", "jw", grid}, Case{"jw", "3", geo}}) {
        SCOPED_TRACE(c.from);
        const QString path = dir.filePath(QString::fromLatin1(c.from) + QStringLiteral(".svg"));
        const GkRun plain = gk({"--from", c.from, "--to", c.to}, c.input);
        const GkRun r = gk({"--from", c.from, "--to", c.to, "--svg", path.toStdString()}, c.input);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, plain.out);
        EXPECT_EQ(r.err, plain.err);
        const svg_output::Sketch s = svg_output::readSketch(path);
        EXPECT_EQ(s.points, 3);
        ASSERT_EQ(s.names.size(), 3u);
        const QPointF a = s.names.at(QStringLiteral("A")), b = s.names.at(QStringLiteral("B")),
                      e = s.names.at(QStringLiteral("C"));
        EXPECT_NEAR(b.x(), a.x(), 0.01);
        EXPECT_NEAR(e.y(), a.y(), 0.01);
        EXPECT_GT(a.y() - b.y(), 100);
        EXPECT_NEAR(a.y() - b.y(), e.x() - a.x(), 0.02);
    }

    const GkRun unwritable = gk({"--from", "3", "--to", "jw", "--svg",
                                 dir.filePath(QStringLiteral("no/such.svg")).toStdString()},
                                grid);
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.out, inversePlain.out);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("无法写入草图文件")))
        << unwritable.err.toStdString();
}

}  // namespace
}  // namespace hc

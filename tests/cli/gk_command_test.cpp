// "hechuan-cli gk" run in-process on files: options, exit status and what goes where.
#include "cli/gk_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "survey/coord_conversion.h"
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
            EXPECT_EQ(r.err, QString());
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
    // The detected order goes to standard error.
    EXPECT_EQ(r.err, QStringLiteral("备注∴原始数据按纬度在前 X Y Z 型处理∴\n"));

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
    };
    for (const auto& args : bad) {
        const GkRun r = gk(args, "A,1,2\n");
        EXPECT_EQ(r.status, 2) << (args.empty() ? std::string() : args.back());
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(r.err.contains(QStringLiteral("用法")));
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage")));
    }
    for (const char* meridian : {"0", "-1.5度", "+.0", " 117度-6"}) {
        EXPECT_EQ(gk({"--from", "jw", "--to", "3", "--meridian", meridian}, "A,1,2\n").status, 0)
            << meridian;
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
        EXPECT_EQ(r.err, QStringLiteral("没有发现坐标数据！\n"));
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

}  // namespace
}  // namespace hc

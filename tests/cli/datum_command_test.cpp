// hechuan-cli datum run as a process: what it prints is what the window's operation gives.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "survey/datum_ops.h"
#include "tests/cli/cli_runner.h"

namespace {

using hc_test::runCli;

const char* const kCommon =
    "A1,39.5412345,116.2312345,52.1\n"
    "A2,39.4012345,116.5512345,43.7\n"
    "A3,40.0512345,116.1512345,120.3\n"
    "A4,39.3512345,116.0512345,30.0\n"
    "====\n"
    "A1,4419056.3787,39447602.9008,89.2141\n"
    "A2,4392972.4871,39493187.3996,80.6466\n"
    "A3,4439499.7231,39436371.3436,157.3881\n"
    "A4,4384115.3962,39421590.1122,67.4376\n";

TEST(DatumCommand, FitPrintsTheWindowTextAndItsLineReadsBack) {
    const auto fit =
        runCli({"datum", "--fit", "--model", "7cf", "--from", "WGS:jw", "--to", "BJ:3"}, kCommon);
    ASSERT_EQ(fit.exitCode, 0) << fit.err;
    EXPECT_TRUE(fit.err.empty()) << fit.err;
    // The same text as the operation behind the window.
    QString source, target;
    ASSERT_TRUE(hc::splitCommonPoints(QString::fromUtf8(kCommon), source, target));
    hc::DatumFitSettings s;
    s.from = {hc::Datum::Wgs84, std::nullopt, std::nullopt};
    s.to = {hc::Datum::Beijing1954, hc::ZoneWidth::Three, std::nullopt};
    s.model = hc::DatumModel::SevenCF;
    const hc::DatumFitRun run = hc::runDatumFit(source, target, s);
    EXPECT_EQ(QString::fromStdString(fit.out), run.output);

    const QRegularExpressionMatch line = QRegularExpression(QStringLiteral("参数行：(.*)\r\n"))
                                             .match(QString::fromStdString(fit.out));
    ASSERT_TRUE(line.hasMatch());
    EXPECT_TRUE(line.captured(1).startsWith(QStringLiteral("7cf ")));
    // Applying the printed line to the source points gives the targets back.
    const auto apply = runCli({"datum", "--params", line.captured(1).toUtf8().constData(), "--from",
                               "WGS:jw", "--to", "BJ:3", "--jobs", "2"},
                              source.toUtf8());
    ASSERT_EQ(apply.exitCode, 0) << apply.err;
    const QStringList got =
        QString::fromStdString(apply.out).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QStringList want = target.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < got.size(); ++i) {
        const QStringList g = got[i].split(u','), w = want[i].split(u',');
        ASSERT_EQ(g.size(), 4);
        for (int k = 1; k < 4; ++k) EXPECT_NEAR(g[k].toDouble(), w[k].toDouble(), 0.02) << k;
    }
}

TEST(DatumCommand, FailuresAndUsageErrors) {
    const struct {
        std::initializer_list<const char*> args;
        const char* input;
        int exit;
        const char* err;
    } cases[] = {
        {{"datum", "--fit", "--from", "WGS:jw", "--to", "BJ:jw"}, "A,30,110,0\n", 1, "===="},
        {{"datum", "--fit", "--from", "WGS:jw", "--to", "BJ:jw"},
         "A,30,110,0\n==\nA,30,110,0\n",
         1,
         "至少要 3 个公共点"},
        {{"datum", "--params", "7 tx=x", "--from", "WGS:jw", "--to", "BJ:jw"},
         "A,30,110,0\n",
         1,
         "参数行有错误"},
        {{"datum", "--from", "WGS:jw", "--to", "BJ:jw"}, "", 2, "--fit 或 --params"},
        {{"datum", "--fit", "--params", "3", "--from", "WGS:jw", "--to", "BJ:jw"},
         "",
         2,
         "--fit 或 --params"},
        {{"datum", "--fit", "--from", "WGS", "--to", "BJ:jw"}, "", 2, "椭球:形式"},
        {{"datum", "--fit", "--from", "WGS:jw", "--to", "BJ:9"}, "", 2, "椭球:形式"},
        {{"datum", "--fit", "--model", "5", "--from", "WGS:jw", "--to", "BJ:jw"}, "", 2, "--model"},
        {{"datum", "--fit", "--height", "plane", "--from", "WGS:jw", "--to", "BJ:jw"},
         "",
         2,
         "--model 4"},
        {{"datum", "--params", "3", "--meridian", "117", "--from", "WGS:jw", "--to", "BJ:jw"},
         "",
         2,
         "--meridian"},
        {{"datum", "--params", "3", "--jobs", "0", "--from", "WGS:jw", "--to", "BJ:jw"},
         "",
         2,
         "--jobs"},
    };
    for (const auto& c : cases) {
        const auto r = runCli(c.args, c.input);
        EXPECT_EQ(r.exitCode, c.exit) << c.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
    const auto help = runCli({"datum", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("GPS 坐标转换"), std::string::npos);
    EXPECT_NE(help.out.find("coordinate frame rotations"), std::string::npos);
}

TEST(DatumCommand, MeridianChoosesTheOutputZone) {
    const char* point = "M,39.30,116.20,10\n";
    const auto own =
        runCli({"datum", "--params", "3", "--from", "WGS:jw", "--to", "2000:3"}, point);
    const auto west = runCli(
        {"datum", "--params", "3", "--from", "WGS:jw", "--to", "2000:3", "--meridian", "114"},
        point);
    ASSERT_EQ(own.exitCode, 0) << own.err;
    ASSERT_EQ(west.exitCode, 0) << west.err;
    // Zone 39 (117 degrees) for the point's own zone, zone 38 when told 114.
    EXPECT_NE(own.out.find(",39"), std::string::npos) << own.out;
    EXPECT_NE(west.out.find(",38"), std::string::npos) << west.out;
}

TEST(DatumCommand, SvgOptionDrawsTheCommonPointsWithTheirResiduals) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("fit.svg"));
    const auto plain = runCli({"datum", "--fit", "--from", "WGS:jw", "--to", "BJ:3"}, kCommon);
    const auto r =
        runCli({QStringLiteral("datum"), QStringLiteral("--fit"), QStringLiteral("--from"),
                QStringLiteral("WGS:jw"), QStringLiteral("--to"), QStringLiteral("BJ:3"),
                QStringLiteral("--svg"), path},
               kCommon);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList names;
    int vectors = 0;
    QString group, vectorLabel;
    while (!xml.atEnd()) {
        if (!xml.readNext() || !xml.isStartElement()) continue;
        const QString cls = xml.attributes().value(QLatin1String("class")).toString();
        if (xml.name() == u"g") group = cls;
        if (cls == u"vector") ++vectors;
        if (xml.name() == u"text" && cls == u"name")
            names << xml.readElementText();
        else if (xml.name() == u"text" && group == u"vector-scale")
            vectorLabel = xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError());
    EXPECT_EQ(names, QStringList({"A1", "A2", "A3", "A4"}));
    EXPECT_EQ(vectors, 4);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^残差 [0-9.]+ (mm|cm|m)（放大 [0-9.]+ 倍）$"))
                    .match(vectorLabel)
                    .hasMatch())
        << vectorLabel.toStdString();

    // Applying parameters draws no sketch.
    const auto misuse = runCli({"datum", "--params", "3 tx=1 ty=2 tz=3", "--from", "WGS:jw", "--to",
                                "BJ:jw", "--svg", "x.svg"},
                               "A,30,110,0\n");
    EXPECT_EQ(misuse.exitCode, 2);
}

}  // namespace

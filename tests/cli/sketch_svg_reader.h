#pragma once
// Reading back the SVG plan sketches the point subcommands write.

#include <gtest/gtest.h>

#include <QFile>
#include <QPointF>
#include <QString>
#include <QXmlStreamReader>
#include <map>

namespace svg_output {

// The names of an SVG sketch's point labels with their page positions, and how many
// point circles, known-point triangles, lines (open or closed) and parcel outlines (closed)
// it holds.
struct Sketch {
    std::map<QString, QPointF> names;
    int points = 0;
    int known = 0;
    int lines = 0;
    int outlines = 0;
};

inline Sketch readSketch(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    Sketch out;
    while (!xml.atEnd()) {
        if (!xml.readNext() || !xml.isStartElement()) continue;
        const auto cls = xml.attributes().value(QLatin1String("class"));
        if (xml.name() == u"circle" && cls == u"point") ++out.points;
        if (cls == u"known") ++out.known;
        if (cls == u"line") ++out.lines;
        if (xml.name() == u"polygon" && cls == u"line") ++out.outlines;
        if (xml.name() == u"text" && cls == u"name") {
            const QPointF at(xml.attributes().value(QLatin1String("x")).toDouble(),
                             xml.attributes().value(QLatin1String("y")).toDouble());
            out.names[xml.readElementText()] = at;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

}  // namespace svg_output

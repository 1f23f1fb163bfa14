#pragma once
// The --svg option of "stats" and "regress": the chart picture as an SVG file.

#include <QString>
#include <cstdio>

#include "tools/chart.h"

namespace hc::cli {

// Page width and the height of one panel of the written picture, pixels.
inline constexpr int kChartSvgWidth = 720;
inline constexpr int kHistogramSvgHeight = 440;
inline constexpr int kRegressionPanelSvgHeight = 380;

// Writes `picture` to `path` (UTF-8). False, with a Chinese line on `err`, when the
// file cannot be written.
bool writeChartSvg(const QString& path, const ChartPicture& picture, int panelHeight,
                   std::FILE* err);

}  // namespace hc::cli

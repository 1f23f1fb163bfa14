#pragma once
// The --svg option of the point subcommands: the plan sketch of the input as an SVG file.

#include <QString>
#include <cstdio>

#include "cli/point_list_input.h"
#include "survey/plan_sketch.h"

namespace hc::cli {

// Page size of the written picture, pixels.
inline constexpr int kSketchSvgWidth = 800;
inline constexpr int kSketchSvgHeight = 600;

// Reads the points of `input` again, fits them to the page and writes the sketch to
// `path` (UTF-8). False, with a Chinese line on `err`, when the file cannot be written.
bool writeSketchSvg(const QString& path, PointListInput& input, SketchKind kind,
                    const QString& marked, std::FILE* err);

// The same for the rows `walk` hands out (walked twice, nothing kept but what the page
// draws).
bool writeSketchSvg(const QString& path, const PointRowWalk& walk, SketchKind kind,
                    const QString& marked, std::FILE* err);

// Writes `sketch`, fitted to the page, to `path`; false, with a Chinese line on `err`,
// when the file cannot be written.
bool writeSketchSvg(const QString& path, const PlanSketch& sketch, std::FILE* err);

}  // namespace hc::cli

#pragma once
// Plane attitude window: the plane through three points of a point list, its
// strike, dip direction and dip.

#include "survey/windows/point_tool_window.h"

namespace hc {

class Form216 : public PointToolWindow {
    Q_OBJECT
public:
    explicit Form216();

    void calculate() override;

protected:
    int listMode() const override { return 1; }  // always grid mode, whatever Check1 shows
};

}  // namespace hc

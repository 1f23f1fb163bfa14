#pragma once
// Distance and bearing window: distances, azimuths and vertical angles of every
// point of a point list from one of them.

#include "survey/windows/point_tool_window.h"

namespace hc {

class Form214 : public PointToolWindow {
    Q_OBJECT
public:
    explicit Form214();

    void calculate() override;

protected:
    int listMode() const override;
};

}  // namespace hc

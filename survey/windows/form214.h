#pragma once
// Distance and bearing window: distances, azimuths and vertical angles of every
// point of a point list from one of them.

#include "survey/survey_settings.h"
#include "survey/windows/point_tool_window.h"

namespace hc {

class Form214 : public PointToolWindow {
    Q_OBJECT
public:
    explicit Form214();

    void calculate() override;
    // The ellipsoid of geographic mode (the ComboDatum box).
    void setDatum(Datum datum);

protected:
    int listMode() const override;

private:
    // The heading and the ellipsoid box of the mode that Check1 shows.
    void showMode();

    QLabel* datumLabel_;
    QComboBox* datum_;
};

}  // namespace hc

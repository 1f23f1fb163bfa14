#include "survey/windows/form214.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "survey/distance_bearing.h"
#include "survey/windows/sketch_window.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {

Form214::Form214()
    : PointToolWindow(window_ids::kForm214.name(), QStringLiteral("距离方位"),
                      QStringLiteral("计算两点间距离和方位"),
                      QStringLiteral("作为原点计算其它点。"),
                      QStringLiteral("序号  平距(米)   水平角(度)   斜距(米)   仰俯角(度)"),
                      QStringLiteral("A001,4395879.562,40400348.322,23.441\r\n"
                                     " Z02,4394571.954,40397379.291,19.838\r\n"
                                     "  z3,4394926.422,40397410.355,19.851\r\n")) {
    // The ellipsoid of the geodesics in geographic mode, named as in the coordinate
    // conversion window.
    datumLabel_ = ui::namedLabel(this, QStringLiteral("LabelDatum"), QStringLiteral("椭球"));
    datum_ = new QComboBox(this);
    datum_->setObjectName(QStringLiteral("ComboDatum"));
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000})
        datum_->addItem(datumControlText(d));
    datum_->setToolTip(QStringLiteral("坐标数据为经纬度时，按此椭球计算大地线的距离和方位"));
    check1_->adjustSize();
    datumLabel_->adjustSize();
    datumLabel_->move(check1_->geometry().right() + px(200), check1_->y() + 2);
    datum_->adjustSize();
    datum_->move(datumLabel_->geometry().right() + 4, check1_->y() - 2);

    connect(check1_, &QCheckBox::clicked, this,
            ui::guardedSlot(
                [this] {
                    check1_->setText(check1_->isChecked() ? QStringLiteral("坐标数据为公里网--米")
                                                          : QStringLiteral("坐标数据为经纬度"));
                    showMode();
                },
                objectName()));
    auto* sketch = addSketchButton(
        this, text1_, text2_, SketchKind::Points,
        [this] { return listMode() == 1 ? PointListMode::Grid : PointListMode::Geographic; },
        [this] { return combo2_->currentText(); });
    sketch->setGeometry(command2_->geometry().right() + px(150), command2_->y(), px(1200),
                        command2_->height());
    setTabOrder(command2_, sketch);
    showMode();
    updateMinimumSize();
}

void Form214::showMode() {
    const PointListMode mode = listMode() == 1 ? PointListMode::Grid : PointListMode::Geographic;
    label7_->setText(bearingHeading(mode));
    label7_->adjustSize();
    datum_->setEnabled(mode == PointListMode::Geographic);
    datumLabel_->setEnabled(mode == PointListMode::Geographic);
}

void Form214::setDatum(Datum datum) { datum_->setCurrentText(datumControlText(datum)); }

int Form214::listMode() const { return check1_->isChecked() ? 1 : 0; }

void Form214::calculate() {
    BearingOptions options;
    options.mode = listMode() == 1 ? PointListMode::Grid : PointListMode::Geographic;
    options.datum = datumOfControlText(datum_->currentText());
    const BearingRun run = runDistanceBearing(text1_->text(), combo2_->currentText(), options);
    rewriteInput(run.input);
    combo2_->setEditText(run.origin);
    text2_->setText(run.output);
    ui::showNotices(run.notices);
}

}  // namespace hc

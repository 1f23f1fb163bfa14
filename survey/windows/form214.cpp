#include "survey/windows/form214.h"

#include <QCheckBox>
#include <QComboBox>

#include "survey/distance_bearing.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"

namespace hc {

Form214::Form214()
    : PointToolWindow(window_ids::kForm214.name(), QStringLiteral("距离方位"),
                      QStringLiteral("计算两点间距离和方位"),
                      QStringLiteral("作为原点计算其它点。"),
                      QStringLiteral("序号  平距(米)   水平角(度)   斜距(米)   仰俯角(度)"),
                      QStringLiteral("A001,4395879.562,40400348.322,23.441\r\n"
                                     " Z02,4394571.954,40397379.291,19.838\r\n"
                                     "  z3,4394926.422,40397410.355,19.851\r\n")) {
    connect(check1_, &QCheckBox::clicked, this, [this] {
        check1_->setText(check1_->isChecked() ? QStringLiteral("坐标数据为公里网--米")
                                              : QStringLiteral("坐标数据为经纬度"));
    });
}

int Form214::listMode() const { return check1_->isChecked() ? 1 : 0; }

void Form214::calculate() {
    const BearingRun run =
        runDistanceBearing(text1_->text(), combo2_->currentText(),
                           listMode() == 1 ? PointListMode::Grid : PointListMode::Geographic);
    text1_->setText(run.input);
    combo2_->setEditText(run.origin);
    text2_->setText(run.output);
    ui::showNotices(run.notices);
}

}  // namespace hc

#include "survey/windows/form216.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "survey/plane_attitude.h"
#include "survey/windows/sketch_window.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {

Form216::Form216()
    : PointToolWindow(window_ids::kForm216.name(), QStringLiteral("面体的产状"),
                      QStringLiteral("已知三点坐标求面体的产状"),
                      QStringLiteral("向下的三个点计算。"), QStringLiteral("面体的产状"),
                      QStringLiteral("A001,4395879.562,40400348.322,23.441\r\n"
                                     " Z02,4394571.954,40397379.291,19.838\r\n"
                                     "  z3,4394926.422,40397410.355,19.851\r\n"
                                     "G4,0,2,5\r\n"
                                     "G5,2,0,5\r\n"
                                     "G6,0,0,3\r\n")) {
    // The caption only: the list is always read with names.
    connect(check1_, &QCheckBox::clicked, this,
            ui::guardedSlot([this] { check1_->setText(QStringLiteral("坐标数据为公里网--米")); },
                            objectName()));
    auto* sketch = addSketchButton(
        this, text2_,
        [this] {
            const QString start = combo2_->currentText();
            const PointList list = ZelZhengLiDianBiao(text1_->text(), PointListMode::Grid).points;
            PlanSketch s = sketchOfRows(
                [&list](const PointRowVisitor& visit) {
                    for (const PointRow& row : list.rows) visit(row);
                },
                SketchKind::Points, start);
            s.strike = runPlaneAttitude(text1_->text(), start).symbol;
            return s;
        },
        [this](qint64 line) { selectLine(text1_, line); });
    sketch->setGeometry(command2_->geometry().right() + px(150), command2_->y(), px(1200),
                        command2_->height());
    setTabOrder(command2_, sketch);
    updateMinimumSize();
}

void Form216::calculate() {
    const AttitudeRun run = runPlaneAttitude(text1_->text(), combo2_->currentText());
    rewriteInput(run.input);
    combo2_->setEditText(run.start);
    text2_->setText(run.output);
    ui::showNotices(run.notices);
}

}  // namespace hc

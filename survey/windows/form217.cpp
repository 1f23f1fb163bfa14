#include "survey/windows/form217.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "survey/intersection.h"
#include "survey/traverse.h"
#include "survey/windows/sketch_window.h"
#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {

Form217::Form217()
    : FieldWorkWindow(window_ids::kForm217.name(), QStringLiteral("经纬仪测量"),
                      QStringLiteral("导线和交会计算")) {
    auto combo = [this](const QString& name, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->addItems(items);
        return c;
    };
    kind_ = combo(QStringLiteral("ComboKind"), traverseKindNames() << QStringLiteral("前方交会")
                                                                   << QStringLiteral("侧方交会")
                                                                   << QStringLiteral("后方交会"));
    kind_->setCurrentIndex(1);
    angles_ =
        combo(QStringLiteral("ComboAngles"), {QStringLiteral("左角"), QStringLiteral("右角")});
    QStringList grades;
    for (const TraverseGrade& g : traverseGrades()) grades << g.name;
    grade_ = combo(QStringLiteral("ComboGrade"), grades);
    allowance_ = ui::namedLineEdit(this, QStringLiteral("TextAllowance"));
    relative_ = ui::namedLineEdit(this, QStringLiteral("TextRelative"));
    bearing_ = ui::namedLineEdit(this, QStringLiteral("TextBearing"));
    bearing_->setToolTip(QStringLiteral("没有后视点时第一条边的方位角（度.分秒）；有后视点时不用"));
    for (QLineEdit* e : {allowance_, relative_, bearing_})
        ui::fitWidth(e, QStringLiteral("000.00000"));

    QGridLayout* g = options();
    int col = 0;
    auto add = [&](const QString& name, const QString& caption, QWidget* w) {
        g->addWidget(ui::namedLabel(this, name, caption), 0, col++);
        g->addWidget(w, 0, col++);
    };
    add(QStringLiteral("LabelKind"), QStringLiteral("类型"), kind_);
    add(QStringLiteral("LabelAngles"), QStringLiteral("观测角"), angles_);
    add(QStringLiteral("LabelGrade"), QStringLiteral("等级"), grade_);
    add(QStringLiteral("LabelAllowance"), QStringLiteral("角度容许 ±″√n"), allowance_);
    add(QStringLiteral("LabelRelative"), QStringLiteral("相对闭合差 1/"), relative_);
    add(QStringLiteral("LabelBearing"), QStringLiteral("起始方位角"), bearing_);
    g->setColumnStretch(col, 1);

    auto showGrade = [this] {
        const auto& list = traverseGrades();
        const int i = grade_->currentIndex();
        if (i < 0 || i >= int(list.size())) return;
        allowance_->setText(QString::number(list[size_t(i)].seconds));
        relative_->setText(QString::number(list[size_t(i)].relative));
    };
    connect(grade_, &QComboBox::currentIndexChanged, this,
            ui::guardedSlot(showGrade, objectName()));
    grade_->setCurrentIndex(int(traverseGrades().size()) - 2);  // 图根 ±40″√n
    showGrade();
    text1_->setText(sample());
    auto* sketchButton = addSketchButton(
        this, text2_, [this] { return sketch(); },
        [this](qint64 line) { selectLine(text1_, line); });
    buttonRow()->insertWidget(buttonRow()->indexOf(command3_) + 1, sketchButton);
    setTabOrder(command3_, sketchButton);
}

namespace {
// Kinds after the three traverse types are the intersections.
constexpr int kFirstIntersection = 3;
}  // namespace

QString Form217::sample() const {
    const int i = std::max(0, kind_->currentIndex());
    if (i >= kFirstIntersection)
        return intersectionSample(static_cast<IntersectionKind>(i - kFirstIntersection));
    return traverseSample(static_cast<TraverseType>(i));
}

PlanSketch Form217::sketch() const {
    if (kind_->currentIndex() >= kFirstIntersection)
        return runIntersection(text1_->text(), static_cast<IntersectionKind>(kind_->currentIndex() -
                                                                             kFirstIntersection))
            .sketch;
    return runTraverseTexts({text1_->text(), kind_->currentIndex(), angles_->currentIndex(),
                             allowance_->text(), relative_->text(), bearing_->text()})
        .sketch;
}

void Form217::calculate() {
    if (kind_->currentIndex() >= kFirstIntersection) {
        const IntersectionRun run = runIntersection(
            text1_->text(),
            static_cast<IntersectionKind>(kind_->currentIndex() - kFirstIntersection));
        text2_->setText(run.output);
        ui::showNotices(run.notices);
        return;
    }
    const TraverseRun run =
        runTraverseTexts({text1_->text(), kind_->currentIndex(), angles_->currentIndex(),
                          allowance_->text(), relative_->text(), bearing_->text()});
    text2_->setText(run.output);
    ui::showNotices(run.notices);
}

}  // namespace hc

#include "survey/windows/form218.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "survey/distance_reduction.h"
#include "survey/survey_settings.h"
#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {

Form218::Form218()
    : FieldWorkWindow(window_ids::kForm218.name(), QStringLiteral("测距仪测量"),
                      QStringLiteral("测距归算和三角高程")) {
    auto combo = [this](const QString& name, const QStringList& items) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->addItems(items);
        return c;
    };
    angleKind_ = combo(QStringLiteral("ComboAngleKind"),
                       {QStringLiteral("竖直角"), QStringLiteral("天顶距")});
    zone_ = combo(QStringLiteral("ComboZone"),
                  {QStringLiteral("6 度带"), QStringLiteral("3 度带"), QStringLiteral("1.5 度带")});
    zone_->setCurrentIndex(1);
    QStringList datums;
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000})
        datums << datumControlText(d);
    datum_ = combo(QStringLiteral("ComboDatum"), datums);
    refraction_ = ui::namedLineEdit(this, QStringLiteral("TextK"), QStringLiteral("0.14"));
    ppm_ = ui::namedLineEdit(this, QStringLiteral("TextPpm"), QStringLiteral("0"));
    height_ = ui::namedLineEdit(this, QStringLiteral("TextHeight"));
    height_->setToolTip(QStringLiteral("测线的平均高程（米）；填写后平距归算到椭球面"));
    x_ = ui::namedLineEdit(this, QStringLiteral("TextX"));
    y_ = ui::namedLineEdit(this, QStringLiteral("TextY"));
    x_->setToolTip(QStringLiteral("测线中点的公里网坐标；填写后平距归算到高斯平面"));
    y_->setToolTip(QStringLiteral("测线中点的公里网 Y 坐标，带带号"));
    for (QLineEdit* e : {refraction_, ppm_, height_}) ui::fitWidth(e, QStringLiteral("00000.000"));
    for (QLineEdit* e : {x_, y_}) ui::fitWidth(e, QStringLiteral("00000000.000"));

    QGridLayout* g = options();
    int row = 0, col = 0;
    auto add = [&](const QString& name, const QString& caption, QWidget* w) {
        g->addWidget(ui::namedLabel(this, name, caption), row, col++);
        g->addWidget(w, row, col++);
    };
    add(QStringLiteral("LabelAngleKind"), QStringLiteral("角度"), angleKind_);
    add(QStringLiteral("LabelK"), QStringLiteral("折光系数 k"), refraction_);
    add(QStringLiteral("LabelPpm"), QStringLiteral("大气改正 ppm"), ppm_);
    add(QStringLiteral("LabelHeight"), QStringLiteral("平均高程"), height_);
    row = 1;
    col = 0;
    add(QStringLiteral("LabelX"), QStringLiteral("中点 X"), x_);
    add(QStringLiteral("LabelY"), QStringLiteral("中点 Y"), y_);
    add(QStringLiteral("LabelZone"), QStringLiteral("分带"), zone_);
    add(QStringLiteral("LabelDatum"), QStringLiteral("椭球"), datum_);
    g->setColumnStretch(8, 1);
    text1_->setText(sample());
}

QString Form218::sample() const { return reductionSample(); }

void Form218::calculate() {
    ReductionTexts t;
    t.input = text1_->text();
    t.angleKind = angleKind_->currentIndex();
    t.refraction = refraction_->text();
    t.ppm = ppm_->text();
    t.height = height_->text();
    t.x = x_->text();
    t.y = y_->text();
    t.zone = zone_->currentIndex();
    t.datum = datum_->currentIndex();
    const ReductionRun run = runReductionTexts(t);
    text2_->setText(run.output);
    ui::showNotices(run.notices);
}

}  // namespace hc

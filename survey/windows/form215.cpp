#include "survey/windows/form215.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "survey/parcel_area.h"
#include "survey/survey_settings.h"
#include "survey/windows/sketch_window.h"
#include "ui/services.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

QString sampleParcels() {
    return QStringLiteral(
        "A01\r\n"
        "1,3527402.118,39476233.512,0\r\n"
        "2,3527596.731,39476402.845,0\r\n"
        "3,3527448.260,39476650.127,0\r\n"
        "4,3527251.904,39476488.330,0\r\n"
        "A02\r\n"
        "1,3527620.500,39476720.250,0\r\n"
        "2,3527700.000,39476800.000,0\r\n"
        "3,3527610.125,39476890.750,0\r\n");
}

QComboBox* namedCombo(QWidget* parent, const QString& name, const QStringList& items,
                      const QString& tip) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setToolTip(tip);
    return box;
}

}  // namespace

Form215::Form215(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm215.name());
    setWindowTitle(QStringLiteral("计算面积"));
    auto* root = new QVBoxLayout(this);
    root->addWidget(ui::headingLabel(this, QStringLiteral("Label1"),
                                     QStringLiteral("计算地块的平面面积和椭球面积")));

    auto* options = new QHBoxLayout;
    check1_ = new QCheckBox(QStringLiteral("坐标数据为经纬度"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setToolTip(
        QStringLiteral("勾选：每行为 点号，纬度，经度（度.分秒）；不勾选：公里网坐标"));
    options->addWidget(check1_);
    options->addSpacing(12);
    options->addWidget(ui::namedLabel(this, QStringLiteral("LabelDatum"), QStringLiteral("椭球")));
    QStringList datums;
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000})
        datums << datumControlText(d);
    datum_ = namedCombo(this, QStringLiteral("ComboDatum"), datums,
                        QStringLiteral("椭球面积和经纬度所在的椭球"));
    options->addWidget(datum_);
    options->addSpacing(12);
    options->addWidget(ui::namedLabel(this, QStringLiteral("LabelZone"), QStringLiteral("分带")));
    zone_ = namedCombo(this, QStringLiteral("ComboZone"), areaZoneChoices(),
                       QStringLiteral("自动：由带号判断，13-23 为 6 度带，24-45 为 3 度带"));
    options->addWidget(zone_);
    options->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelMeridian"), QStringLiteral("中央子午线")));
    meridian_ = ui::namedLineEdit(this, QStringLiteral("Text3"));
    meridian_->setToolTip(
        QStringLiteral("留空则由东坐标的带号得出；填写经度（如 117 或 117°15′）时东坐标不带带号"));
    ui::fitWidth(meridian_, QStringLiteral("000°00′00″"), 12);
    options->addWidget(meridian_);
    options->addSpacing(12);
    options->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelDecimals"), QStringLiteral("小数位")));
    QStringList places;
    for (int i = 0; i <= kMaxAreaDecimals; ++i) places << QString::number(i);
    decimals_ = namedCombo(this, QStringLiteral("ComboDecimals"), places,
                           QStringLiteral("面积（平方米）的小数位数；公顷和亩多 4 位"));
    decimals_->setCurrentText(QStringLiteral("3"));
    options->addWidget(decimals_);
    options->addStretch(1);
    root->addLayout(options);

    root->addWidget(ui::namedLabel(
        this, QStringLiteral("Label2"),
        QStringLiteral("每行一个顶点：点号，X，Y，H（用逗号分隔），按顺序排列；空行或只有地块名"
                       "的一行开始下一个地块。")));
    const QFont mono = ui::monospacedFont();
    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(mono);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setMinimumHeight(text1_->fontMetrics().lineSpacing() * 10);
    text1_->setText(sampleParcels());
    root->addWidget(text1_, 1);

    auto* buttons = new QHBoxLayout;
    command1_ = ui::namedButton(this, QStringLiteral("Command1"), QStringLiteral("计算面积"),
                                QStringLiteral("计算每个地块的面积"));
    command2_ =
        ui::namedButton(this, QStringLiteral("Command2"), QStringLiteral("打屏幕"),
                        QStringLiteral("打印当前屏幕的所有内容，安装打印机后才可执行打印功能"));
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    buttons->addStretch(1);
    root->addLayout(buttons);

    text2_ = new ui::TextBox(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setFont(mono);
    text2_->setReadOnly(true);
    text2_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text2_->setMinimumSize(text2_->fontMetrics().horizontalAdvance(QString(120, u'0')),
                           text2_->fontMetrics().lineSpacing() * 8);
    root->addWidget(text2_, 1);
    buttons->insertWidget(2, addSketchButton(
                                 this, text1_, text2_, SketchKind::Parcels,
                                 [] { return PointListMode::Grid; }, [] { return QString(); }));

    connect(command1_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { calculate(); }, objectName()));
    connect(command2_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { ui::services().printWindow(this); }, objectName()));
    connect(check1_, &QCheckBox::toggled, this,
            ui::guardedSlot([this] { showMode(); }, objectName()));
    showMode();
}

void Form215::showMode() {
    const bool grid = !check1_->isChecked();
    zone_->setEnabled(grid);
    meridian_->setEnabled(grid);
}

void Form215::calculate() {
    AreaControls controls;
    controls.input = text1_->text();
    controls.geographic = check1_->isChecked();
    controls.ellipsoid = datum_->currentText();
    controls.zone = zone_->currentText();
    controls.meridian = meridian_->text();
    controls.decimals = decimals_->currentText();
    const AreaRun run = areaWindowCalculate(controls);
    if (run.input != text1_->text()) text1_->replaceText(run.input);
    text2_->setText(run.output);
    ui::showNotices(run.notices);
}

}  // namespace hc

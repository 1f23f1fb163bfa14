#include "survey/windows/form_gps.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "survey/windows/sketch_window.h"
#include "ui/services.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

QComboBox* datumBox(QWidget* parent, const QString& name, Datum chosen) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (Datum d : {Datum::Beijing1954, Datum::Xian1980, Datum::Wgs84, Datum::Cgcs2000})
        box->addItem(datumControlText(d));
    box->setCurrentText(datumControlText(chosen));
    return box;
}

QComboBox* formBox(QWidget* parent, const QString& name, int chosen) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(coordFormChoices());
    box->setCurrentIndex(chosen);
    return box;
}

QPlainTextEdit* textBox(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setFont(ui::monospacedFont());
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setPlainText(text);
    return box;
}

const QString kFilter = QStringLiteral("转换参数 (*.txt);;所有文件 (*)");

}  // namespace

FormGps::FormGps(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kFormGps.name());
    setWindowTitle(QStringLiteral("GPS坐标转换"));
    setFont(ui::cjkFont());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ui::headingLabel(this, QStringLiteral("Label1"),
                                       QStringLiteral("GPS坐标转换（坐标系之间的换算）")));

    auto* settings = new QGridLayout;
    fromDatum_ = datumBox(this, QStringLiteral("ComboFromDatum"), Datum::Wgs84);
    fromForm_ = formBox(this, QStringLiteral("ComboFromForm"), 0);
    toDatum_ = datumBox(this, QStringLiteral("ComboToDatum"), Datum::Beijing1954);
    toForm_ = formBox(this, QStringLiteral("ComboToForm"), 2);
    model_ = new QComboBox(this);
    model_->setObjectName(QStringLiteral("ComboModel"));
    for (DatumModel m :
         {DatumModel::Seven, DatumModel::SevenCF, DatumModel::Three, DatumModel::Four})
        model_->addItem(modelName(m), modelCode(m));
    height_ = new QComboBox(this);
    height_->setObjectName(QStringLiteral("ComboHeight"));
    height_->addItems(
        {QStringLiteral("不拟合"), QStringLiteral("平面拟合"), QStringLiteral("二次曲面拟合")});
    height_->setToolTip(QStringLiteral("四参数时，对高程异常（目标高程减原高程）做拟合"));
    meridian_ = ui::namedLineEdit(this, QStringLiteral("TextMeridian"));
    meridian_->setPlaceholderText(QStringLiteral("自动"));
    meridian_->setToolTip(
        QStringLiteral("输出公里网坐标的中央子午线经度（度）；空着时用输入点所在带的中央子午线"));
    settings->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelFrom"), QStringLiteral("原坐标系")), 0, 0);
    settings->addWidget(fromDatum_, 0, 1);
    settings->addWidget(fromForm_, 0, 2);
    settings->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelTo"), QStringLiteral("目标坐标系")), 0, 3);
    settings->addWidget(toDatum_, 0, 4);
    settings->addWidget(toForm_, 0, 5);
    settings->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelModel"), QStringLiteral("转换模型")), 1, 0);
    settings->addWidget(model_, 1, 1, 1, 2);
    settings->addWidget(ui::namedLabel(this, QStringLiteral("LabelHeight"), QStringLiteral("高程")),
                        1, 3);
    settings->addWidget(height_, 1, 4);
    settings->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelMeridian"), QStringLiteral("中央子午线")), 2, 0);
    settings->addWidget(meridian_, 2, 1);
    layout->addLayout(settings);

    layout->addWidget(ui::namedLabel(
        this, QStringLiteral("LabelHint"),
        QStringLiteral("每行一个点：点号，X，Y，H（逗号分隔）。经纬度时 X 为纬度、Y 为经度，"
                       "用 度.分秒 表示；公里网坐标用米，Y 带带号。")));
    auto* common = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelSource"), QStringLiteral("公共点（原坐标系）")));
    source_ = textBox(this, QStringLiteral("TextSource"));
    left->addWidget(source_);
    auto* right = new QVBoxLayout;
    right->addWidget(ui::namedLabel(this, QStringLiteral("LabelTarget"),
                                    QStringLiteral("公共点（目标坐标系），按点号配对")));
    target_ = textBox(this, QStringLiteral("TextTarget"));
    right->addWidget(target_);
    common->addLayout(left);
    common->addLayout(right);
    layout->addLayout(common);

    auto* paramRow = new QHBoxLayout;
    QPushButton* fitButton =
        ui::namedButton(this, QStringLiteral("CommandFit"), QStringLiteral("求转换参数"),
                        QStringLiteral("由公共点按所选模型求最小二乘参数"));
    params_ = ui::namedLineEdit(this, QStringLiteral("TextParams"));
    params_->setPlaceholderText(QStringLiteral("参数行，如 7 tx=… ty=… tz=… rx=… ry=… rz=… s=…"));
    QPushButton* save =
        ui::namedButton(this, QStringLiteral("CommandSave"), QStringLiteral("保存参数"));
    QPushButton* load =
        ui::namedButton(this, QStringLiteral("CommandLoad"), QStringLiteral("读取参数"));
    paramRow->addWidget(fitButton);
    paramRow->addWidget(params_, 1);
    paramRow->addWidget(save);
    paramRow->addWidget(load);
    layout->addLayout(paramRow);

    auto* work = new QHBoxLayout;
    auto* pointsColumn = new QVBoxLayout;
    pointsColumn->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelPoints"), QStringLiteral("待转换的点")));
    points_ = textBox(this, QStringLiteral("TextPoints"));
    pointsColumn->addWidget(points_);
    auto* buttons = new QHBoxLayout;
    QPushButton* forward = ui::namedButton(this, QStringLiteral("CommandApply"),
                                           QStringLiteral("原坐标系 → 目标坐标系"));
    QPushButton* backward = ui::namedButton(
        this, QStringLiteral("CommandInverse"), QStringLiteral("目标坐标系 → 原坐标系"),
        QStringLiteral("用参数的逆变换，把目标坐标系的点换回原坐标系"));
    buttons->addWidget(forward);
    buttons->addWidget(backward);
    pointsColumn->addLayout(buttons);
    auto* outputColumn = new QVBoxLayout;
    outputColumn->addWidget(
        ui::namedLabel(this, QStringLiteral("LabelOutput"), QStringLiteral("成果")));
    output_ = textBox(this, QStringLiteral("TextOutput"));
    output_->setReadOnly(true);
    // The fit's residuals, drawn: after 求转换参数 in the row.
    paramRow->insertWidget(1, addSketchButton(
                                  this, output_, [this] { return sketch(); },
                                  [this](qint64 line) { selectLine(source_, line); }));
    outputColumn->addWidget(output_);
    work->addLayout(pointsColumn);
    work->addLayout(outputColumn, 1);
    layout->addLayout(work, 1);
    resize(900, 640);

    const QString what = objectName();
    connect(fitButton, &QPushButton::clicked, this, ui::guardedSlot([this] { fit(); }, what));
    connect(forward, &QPushButton::clicked, this, ui::guardedSlot([this] { apply(false); }, what));
    connect(backward, &QPushButton::clicked, this, ui::guardedSlot([this] { apply(true); }, what));
    connect(save, &QPushButton::clicked, this,
            ui::guardedSlot(
                [this] {
                    const QString path =
                        QFileDialog::getSaveFileName(this, QStringLiteral("保存参数"), {}, kFilter);
                    if (!path.isEmpty()) saveParameters(path);
                },
                what));
    connect(load, &QPushButton::clicked, this,
            ui::guardedSlot(
                [this] {
                    const QString path =
                        QFileDialog::getOpenFileName(this, QStringLiteral("读取参数"), {}, kFilter);
                    if (!path.isEmpty()) loadParameters(path);
                },
                what));
}

CoordSystem FormGps::side(QComboBox* datum, QComboBox* form) const {
    CoordSystem s;
    s.datum = datumOfControlText(datum->currentText());
    s.zone = zoneOfFormChoice(form->currentText());
    return s;
}

bool FormGps::meridian(std::optional<double>& value) const {
    const QString text = meridian_->text().trimmed();
    value.reset();
    if (text.isEmpty()) return true;
    bool ok = false;
    const double m = text.toDouble(&ok);
    if (!ok || !(m >= 0 && m <= 180)) {
        ui::messageBox(QStringLiteral("中央子午线应是 0 到 180 之间的经度（度），或者空着。"));
        return false;
    }
    value = m;
    return true;
}

DatumFitSettings FormGps::fitSettings() const {
    DatumFitSettings s;
    s.from = side(fromDatum_, fromForm_);
    s.to = side(toDatum_, toForm_);
    s.model = modelOfCode(model_->currentData().toString()).value_or(DatumModel::Seven);
    s.height = height_->currentIndex() == 1   ? HeightSurface::Plane
               : height_->currentIndex() == 2 ? HeightSurface::Quadratic
                                              : HeightSurface::None;
    return s;
}

PlanSketch FormGps::sketch() const {
    return runDatumFit(source_->toPlainText(), target_->toPlainText(), fitSettings()).sketch;
}

void FormGps::fit() {
    const DatumFitRun run =
        runDatumFit(source_->toPlainText(), target_->toPlainText(), fitSettings());
    if (run.ok) params_->setText(run.parameterLine);
    output_->setPlainText(run.output);
    ui::showNotices(run.notices);
}

void FormGps::apply(bool inverse) {
    DatumApplySettings s;
    s.from = side(fromDatum_, fromForm_);
    s.to = side(toDatum_, toForm_);
    if (inverse) std::swap(s.from, s.to);
    if (!meridian(s.to.meridian)) return;
    s.inverse = inverse;
    s.jobs = 1;
    const DatumApplyRun run =
        runDatumApply(points_->toPlainText(), params_->text(), s, kWindowPoints);
    output_->setPlainText(run.output);
    ui::showNotices(run.notices);
}

void FormGps::saveParameters(const QString& path) {
    const QString error = saveParametersFile(path, params_->text());
    if (!error.isEmpty()) ui::messageBox(error);
}

void FormGps::loadParameters(const QString& path) {
    QString error;
    const std::optional<QString> line = loadParametersFile(path, &error);
    if (!line) {
        ui::messageBox(error);
        return;
    }
    params_->setText(*line);
    const std::optional<DatumParameters> p = parseParameters(*line);
    const int index = model_->findData(modelCode(p->model));
    if (index >= 0) model_->setCurrentIndex(index);
}

}  // namespace hc

#include "survey/windows/single_point_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "survey/coord_window_ops.h"
#include "survey/windows/form213.h"
#include "ui/services.h"
#include "ui/window_ids.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

const char16_t* const kForms[4] = {u"经纬度", u"1.5度带", u"3度带", u"6度带"};

std::optional<ZoneWidth> formOf(int index) {
    switch (index) {
        case 1:
            return ZoneWidth::OneAndHalf;
        case 2:
            return ZoneWidth::Three;
        case 3:
            return ZoneWidth::Six;
        default:
            return std::nullopt;
    }
}

// Wide enough for `sample` without scrolling.
void fitWidth(QLineEdit* f, const QString& sample) { ui::fitWidth(f, sample, 16); }

QLineEdit* resultField(QWidget* parent, const QString& name, const QString& sample) {
    QLineEdit* f = ui::namedLineEdit(parent, name);
    f->setReadOnly(true);
    fitWidth(f, sample);
    return f;
}

const QString kNumberSample = QStringLiteral("-00000000.0000000");

}  // namespace

SinglePointWindow::SinglePointWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kFormDanLie.name());
    setWindowTitle(QStringLiteral("单列式坐标转换"));

    auto* input = new QGroupBox(QStringLiteral("输入一个点"), this);
    auto* in = new QGridLayout(input);
    from_ = new QComboBox(input);
    from_->setObjectName(QStringLiteral("ComboFrom"));
    for (const char16_t* f : kForms) from_->addItem(QString::fromUtf16(f));
    north_ = ui::namedLineEdit(input, QStringLiteral("TextNorth"));
    east_ = ui::namedLineEdit(input, QStringLiteral("TextEast"));
    height_ = ui::namedLineEdit(input, QStringLiteral("TextHeight"));
    ellipsoid_ = new QComboBox(input);
    ellipsoid_->setObjectName(QStringLiteral("ComboEllipsoid"));
    ellipsoid_->addItems(Form213::ellipsoidEntries());
    meridian_ = new QComboBox(input);
    meridian_->setObjectName(QStringLiteral("ComboMeridian"));
    meridian_->setEditable(true);
    meridian_->setInsertPolicy(QComboBox::NoInsert);
    meridian_->addItems(Form213::meridianEntries());
    meridian_->setCurrentIndex(8);
    northLabel_ = new QLabel(input);
    eastLabel_ = new QLabel(input);
    convert_ = ui::namedButton(input, QStringLiteral("CommandConvert"), QStringLiteral("转 换"));
    convert_->setDefault(true);

    in->addWidget(new QLabel(QStringLiteral("坐标类型"), input), 0, 0);
    in->addWidget(from_, 0, 1);
    in->addWidget(new QLabel(QStringLiteral("公里网"), input), 0, 2);
    in->addWidget(ellipsoid_, 0, 3);
    in->addWidget(new QLabel(QStringLiteral("中央子午线经度"), input), 0, 4);
    in->addWidget(meridian_, 0, 5);
    in->addWidget(northLabel_, 1, 0);
    in->addWidget(north_, 1, 1);
    in->addWidget(eastLabel_, 1, 2);
    in->addWidget(east_, 1, 3);
    in->addWidget(new QLabel(QStringLiteral("Z高程(米)"), input), 1, 4);
    in->addWidget(height_, 1, 5);
    in->addWidget(convert_, 2, 5);

    auto* output = new QGroupBox(QStringLiteral("换算成果"), this);
    auto* out = new QGridLayout(output);
    out->addWidget(new QLabel(QStringLiteral("X纬度(北)"), output), 0, 1);
    out->addWidget(new QLabel(QStringLiteral("Y经度(东)"), output), 0, 2);
    out->addWidget(new QLabel(QStringLiteral("备注"), output), 0, 3);
    for (int i = 0; i < 4; ++i) {
        out->addWidget(new QLabel(QString::fromUtf16(kForms[i]), output), i + 1, 0);
        resultNorth_[i] =
            resultField(output, QStringLiteral("ResultNorth%1").arg(i), kNumberSample);
        resultEast_[i] = resultField(output, QStringLiteral("ResultEast%1").arg(i), kNumberSample);
        resultRemark_[i] = resultField(output, QStringLiteral("ResultRemark%1").arg(i),
                                       QStringLiteral("……跨带 -118.5度"));
        out->addWidget(resultNorth_[i], i + 1, 1);
        out->addWidget(resultEast_[i], i + 1, 2);
        out->addWidget(resultRemark_[i], i + 1, 3);
    }
    out->setColumnStretch(1, 1);
    out->setColumnStretch(2, 1);
    out->setColumnStretch(3, 1);
    for (QLineEdit* f : {north_, east_, height_}) fitWidth(f, kNumberSample);
    status_ = ui::namedLabel(this, QStringLiteral("LabelStatus"), QString());
    status_->setWordWrap(true);

    auto* page = new QVBoxLayout(this);
    page->addWidget(input);
    page->addWidget(output);
    page->addWidget(status_);
    page->addStretch(1);

    connect(from_, &QComboBox::currentIndexChanged, this,
            ui::guardedSlot([this] { updateCaptions(); }, objectName()));
    connect(convert_, &QPushButton::clicked, this,
            ui::guardedSlot([this] { convert(); }, objectName()));
    for (QLineEdit* f : {north_, east_, height_})
        connect(f, &QLineEdit::returnPressed, this,
                ui::guardedSlot([this] { convert(); }, objectName()));
    updateCaptions();
    north_->setText(QStringLiteral("39.4125536"));
    east_->setText(QStringLiteral("117.5017873"));
    setMinimumSize(minimumSizeHint());
}

void SinglePointWindow::updateCaptions() {
    const bool geographic = from_->currentIndex() == 0;
    northLabel_->setText(geographic ? QStringLiteral("纬度(度.分秒)") : QStringLiteral("X(米)"));
    eastLabel_->setText(geographic ? QStringLiteral("经度(度.分秒)")
                                   : QStringLiteral("Y(米，含带号)"));
}

void SinglePointWindow::convert() {
    SinglePointInput in;
    in.from = formOf(from_->currentIndex());
    in.north = north_->text();
    in.east = east_->text();
    in.height = height_->text();
    in.ellipsoid = ellipsoid_->currentText();
    in.meridian = meridian_->currentText();
    const SinglePointResult r = convertSinglePoint(in);
    ui::showNotices(r.notices);
    status_->setText(r.error);
    for (int i = 0; i < 4; ++i) {
        const SinglePointForm f = r.forms.value(i);
        resultNorth_[i]->setText(f.north);
        resultEast_[i]->setText(f.east);
        resultRemark_[i]->setText(f.remark);
        resultRemark_[i]->setToolTip(f.remark);
    }
}

}  // namespace hc

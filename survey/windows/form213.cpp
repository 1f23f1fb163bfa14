#include "survey/windows/form213.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <algorithm>
#include <limits>

#include "survey/coord_text.h"
#include "survey/coord_window_ops.h"
#include "survey/windows/sketch_window.h"
#include "survey/zones.h"
#include "ui/text_box.h"
#include "ui/widget_services.h"
#include "ui/window_kit.h"

namespace hc {
namespace {

// Design size and positions, in twips.
constexpr int kWidth = 11000;
constexpr int kHeight = 8700;
constexpr int kBoxTop = 1980;
constexpr int kNarrowText1 = 4455;
constexpr int kButtonHeight = 330;
constexpr int kDefaultMeridianIndex = 8;

const QColor kXyzColour(255, 224, 192);
const QColor kYxzColour(192, 255, 255);

QString xyzCaption() { return QStringLiteral("X Y Z模式"); }
QString xyzTip() { return QStringLiteral("数据结构为序号、纬度、经度、高程...，纬度在经度前面。"); }
QString yxzTip() { return QStringLiteral("数据结构为序号、经度、纬度、高程...，经度在纬度前面。"); }

struct ButtonSpec {
    GkConversion op;
    const char* name;
    const char16_t* caption;
    bool convertTip;
};

// Two rows of five: from latitude/longitude and zone to zone on top, to
// latitude/longitude and the way back below.
const ButtonSpec kButtons[10] = {
    {GkConversion::GeoToZone15, "CommandJto1", u"经纬度 -> 1.5度带", false},
    {GkConversion::GeoToZone3, "CommandJto3", u"经纬度 -> 3度带", false},
    {GkConversion::GeoToZone6, "CommandJto6", u"经纬度 -> 6度带", false},
    {GkConversion::Zone15To3, "Command1to3", u"1.5度带 -> 3度带", false},
    {GkConversion::Zone3To6, "Command3to6", u"3度带 -> 6度带", false},
    {GkConversion::Zone15ToGeo, "Command1toJ", u"1.5度带 -> 经纬度", true},
    {GkConversion::Zone3ToGeo, "Command3toJ", u"3度带 -> 经纬度", true},
    {GkConversion::Zone6ToGeo, "Command6toJ", u"6度带 -> 经纬度", true},
    {GkConversion::Zone3To15, "Command3to1", u"3度带 -> 1.5度带", false},
    {GkConversion::Zone6To3, "Command6to3", u"6度带 -> 3度带", false},
};

}  // namespace

const QStringList& Form213::meridianEntries() {
    static const QStringList list = {
        QStringLiteral("93度-6"),  QStringLiteral("96度"),    QStringLiteral("99度-6"),
        QStringLiteral("102度"),   QStringLiteral("105度-6"), QStringLiteral("108度"),
        QStringLiteral("111度-6"), QStringLiteral("114度"),   QStringLiteral("117度-6"),
        QStringLiteral("120度"),   QStringLiteral("123度-6"), QStringLiteral("126度"),
        QStringLiteral("129度-6"), QStringLiteral("132度"),   QStringLiteral("135度-6"),
        QStringLiteral("138度"),   QStringLiteral("141度-6"), QStringLiteral("112.5度"),
        QStringLiteral("115.5度"), QStringLiteral("118.5度"), QStringLiteral("121.5度")};
    return list;
}

QStringList Form213::ellipsoidEntries() {
    return {QStringLiteral("北京"), QStringLiteral("西安"), QStringLiteral("WGS"),
            QStringLiteral("2000")};
}

namespace {

// Nothing but spaces (the only character the window's trimming removes).
bool onlySpaces(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u' '; });
}

template <typename F>
void guarded(F f) {
    ui::runGuarded(f, window_ids::kForm213.name());
}

}  // namespace

QString Form213::sampleInput() {
    return QStringLiteral(
        "A01 , 39.4125536 , 117.5017873 , 23.441\r\n"
        "Ｚ2 , 39.4041 , 117.4814 , 19.838\r\n"
        "例3 , 39.4053387 , 117.4815132 , 19.851\r\n"
        "39.4053387 , 117.4815132 , 19.851\r\n"
        "\r\n"
        "示例提示:\r\n"
        "  序号  X纬度(北)  Y经度(东)  Z高程(H)\r\n"
        "    \r\n");
}

QString Form213::helpText() {
    const QStringList lines = {
        QStringLiteral("常用的地图坐标系统有经纬度、北京坐标系统、西安坐标系统等。"),
        QStringLiteral("通常采用北方为上-X-正，东方为右-Y-正，上北下南左西右东。"),
        QStringLiteral("和平时的数学坐标系统右为X正、上为Y正不同，请特别注意。"),
        QString(59, u'*'),
        QStringLiteral("经纬度---竖向为纬度X、横向为经度Y，按经度把地球人为划成分带。"),
        QStringLiteral("纬度采用赤道为0度、北极为90度，向北增大，北半球称作北纬XX度。"),
        QStringLiteral("经度采用英国伦敦的格林威治天文台作为0度，向东称作东经XX度。"),
        QStringLiteral("经度按每15度划分为一个时区，共有24个时区，对应24小时。"),
        QStringLiteral("我国首都处于东经117度、北纬40度附近，属于东8区(105-120度)。"),
        QStringLiteral("由于采用度分秒表示位置不利于日常使用，又引入公里网坐标。"),
        QString(57, u'*'),
        QStringLiteral("北京坐标系统、西安坐标系统是平面高斯投影坐标系统--公里网，"),
        QStringLiteral("两者因为采用的地球参数不同，有少量差别，一般都使用北京坐标。"),
        QStringLiteral("公里网用公里、米作为测量单位，由于球型影响都有少量投影误差。"),
        QStringLiteral("为了减小投影误差，人为将地球按中央子午线经度划分为投影带。"),
        QStringLiteral("为了方便--赤道作为 X=0 公里，向北增大；为避免 Y 出现负数，"),
        QStringLiteral("以中央子午线处=500公里=500,000米，前加带号eg:39,500,000米。 "),
        QString(),
        QStringLiteral("   六度带坐标--按每6度划分，起点以东经3度为中心，含0-6度，"),
        QStringLiteral("3--01带    9--02带   15--03带......117--20带    123--21带。  "),
        QStringLiteral("   三度带坐标--按每3度划分，起点以东经3度为中心，1.30-4.30，"),
        QStringLiteral("3--01带    6--02带    9--03带......117--39带    120--40带。 "),
        QStringLiteral("   一点五度带--按每1.5度分，起点以东经3度为中心，2.15-3.45，"),
        QStringLiteral("3--01带  4.30--02带   6--03带......117--77带   118.30--78带。"),
        QString(),
        QStringLiteral("地图的比例尺越大，需要的分带越小，一点五度带投影误差最小。"),
        QStringLiteral("我国首都位于东经39,447,672、北纬4,419,516附近（三度带坐标）。"),
        QStringLiteral("由于工作中需要将分带线附近的点画在同一张图上，某些点属于另一"),
        QStringLiteral("分带内，此时也必须将坐标转换到本分带内，这叫<跨带坐标转换>。"),
        QString(60, u'*'),
        QStringLiteral("高程系统一般采用平均海平面为正负0米，向上为正，向下为负。"),
        QString(),
        QStringLiteral(" "),
    };
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

Form213::Form213(QWidget* parent) : QWidget(parent) {
    setObjectName(window_ids::kForm213.name());
    setWindowTitle(QStringLiteral("坐标换算"));
    ui::setBackgroundColour(this, QColor(0xE0, 0xE8, 0xF0));

    auto label = [this](const char* name, const QString& text, const QString& tip = QString()) {
        QLabel* l = ui::namedLabel(this, QString::fromLatin1(name), text, tip);
        l->installEventFilter(this);
        return l;
    };
    auto button = [this](const char* name, const QString& text, const QString& tip = QString()) {
        return ui::namedButton(this, QString::fromLatin1(name), text, tip);
    };

    // Heading, column order and name column.
    label1_ = label("Label1", QStringLiteral(" 坐标转换模块"),
                    QStringLiteral("转换原始数据中的相近字母"));
    ui::enlargeFont(label1_, 5);
    label1_->adjustSize();
    label1_->move(px(120), px(80));

    option1_ = new QRadioButton(xyzCaption(), this);
    option1_->setObjectName(QStringLiteral("Option1"));
    option1_->setToolTip(xyzTip());
    option1_->setChecked(true);
    ui::setBackgroundColour(option1_, kXyzColour);
    option1_->setGeometry(px(5700), px(150), px(1800), px(kButtonHeight));
    // The button flips on every press, like a two-state switch.
    connect(option1_, &QRadioButton::pressed, this, [this] { guarded([this] { toggleOrder(); }); });

    check1_ = new QCheckBox(QStringLiteral("带序号输出"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setToolTip(QStringLiteral("输出成果是否带有序号一栏"));
    check1_->setChecked(true);
    check1_->setGeometry(px(7800), px(150), px(2000), px(kButtonHeight));
    connect(check1_, &QCheckBox::clicked, this, [this] {
        check1_->setText(check1_->isChecked() ? QStringLiteral("带序号输出")
                                              : QStringLiteral("无序号输出"));
    });

    // Settings row: central meridian and its zone numbers, ellipsoid, separator.
    const int row = 600;
    label3_ = label("Label3", QStringLiteral("中央子午线经度"),
                    QStringLiteral("-１８０到 +１８０ ， 默认为１１７度"));
    combo3_ = new QComboBox(this);
    combo3_->setObjectName(QStringLiteral("Combo3"));
    combo3_->setEditable(true);
    combo3_->setInsertPolicy(QComboBox::NoInsert);
    combo3_->addItems(meridianEntries());
    combo3_->setToolTip(
        QStringLiteral("{中央子午线经度}决定了坐标转换时{公里网的带号}、是否进行跨分带计算。"));
    combo3_->installEventFilter(this);
    label4_ = label("Label4", QStringLiteral("对应带号:20 39 77  "),
                    QStringLiteral("{中央子午线经度}决定了坐标分带号===公里网{六度带、三度带、"
                                   "一点五度带}的<带号前缀>顺次排列，供参考。"));
    label5_ = label("Label5", QStringLiteral("公里网"));
    combo4_ = new QComboBox(this);
    combo4_->setObjectName(QStringLiteral("Combo4"));
    combo4_->addItems(ellipsoidEntries());
    combo4_->setToolTip(
        QStringLiteral("根据你选择的类型（参数），决定公里网坐标的输出，"
                       "北京坐标系统和西安坐标系统等有参数差别。"));
    label21_ = label("Label21", QStringLiteral("分隔符"));
    combo5_ = new QComboBox(this);
    combo5_->setObjectName(QStringLiteral("Combo5"));
    combo5_->addItems(separatorChoices());
    combo5_->setToolTip(QStringLiteral("修改分隔符可能造成数据混乱，平时请不要随意修改分隔符！"));

    int x = px(120);
    auto place = [&x, row, this](QWidget* w, int widthTwips) {
        if (widthTwips > 0) {
            w->setGeometry(x, px(row), px(widthTwips), px(kButtonHeight));
        } else {
            w->adjustSize();
            w->move(x, px(row) + (px(kButtonHeight) - w->height()) / 2);
        }
        x += w->width() + px(90);
    };
    place(label3_, 0);
    place(combo3_, 1300);
    label4_->setMinimumWidth(
        label4_->fontMetrics().horizontalAdvance(QStringLiteral("对应带号: -120 -240 -480")));
    place(label4_, 0);
    place(label5_, 0);
    place(combo4_, 1000);
    place(label21_, 0);
    place(combo5_, 800);

    // The ten conversions.
    for (int i = 0; i < 10; ++i) {
        const ButtonSpec& s = kButtons[i];
        QPushButton* b =
            button(s.name, QString::fromUtf16(s.caption),
                   s.convertTip ? QStringLiteral("当数据输入完毕，参数调整正确后，执行坐标转换。")
                                : QString());
        b->setGeometry(px(120 + (i % 5) * 2040), px(1060 + (i / 5) * 440), px(1980), px(400));
        conversionButtons_[i] = b;
        const GkConversion op = s.op;
        connect(b, &QPushButton::clicked, this, [this, op] { convert(op); });
    }

    text1_ = new ui::TextBox(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setToolTip(
        QStringLiteral("原始数据，可以含有非数据行，如有序号必须用字母或汉字开头。"));
    text2_ = new ui::TextBox(this);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setToolTip(QStringLiteral("数据输出，根据用户设置的模式，输出运算成果。"));
    for (ui::TextBox* box : {text1_, text2_}) {
        box->setFont(ui::monospacedFont(10));
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    text1_->setText(sampleInput());
    text2_->setText(helpText());

    // The rows under the boxes.
    QPushButton* swap = button("CommandJiaoHuan", QStringLiteral("文本１ ← 文本２"));
    QPushButton* print =
        button("CommandPrint", QStringLiteral("打印屏幕"),
               QStringLiteral("将本页面的所有数据打印输出，安装打印机后才可执行打印功能"));
    QPushButton* gps = button("CommandGps", QStringLiteral("GPS坐标转换"));
    QPushButton* column = button("CommandDanLie", QStringLiteral("单列式坐标转换"));
    // The grid side of the last conversion: the output box when it holds grid rows,
    // else the input box.
    auto* sketch = addSketchButton(
        this, text2_,
        [this] {
            const QString separator = separatorOf(combo5_->currentText());
            const AxisOrder order = axisOrderOfCaption(option1_->text());
            PlanSketch s = gridRowsSketch(text2_->text(), separator, order, true);
            sketchFromOutput_ = !s.points.empty();
            if (!sketchFromOutput_) s = gridRowsSketch(text1_->text(), separator, order);
            return s;
        },
        [this](qint64 line) { selectLine(sketchFromOutput_ ? text2_ : text1_, line); });
    printRow_ = {swap, print, sketch, gps, column};
    setTabOrder(print, sketch);
    QPushButton* help = button("CommandHelp", QStringLiteral("帮 助"));
    QPushButton* calculator = button("CommandJsq", QStringLiteral("禾川计算器"));
    QPushButton* other =
        button("CommandQiTa", QStringLiteral("其它功能"), QStringLiteral("多种功能模块"));
    QPushButton* web1 = button("CommandWeb1", QStringLiteral("禾川主页"),
                               QStringLiteral("打开随程序安装的使用说明"));
    QPushButton* web2 = button("CommandWeb2", QStringLiteral("测量资料"),
                               QStringLiteral("打开使用说明中的测量工具一节"));
    helpRow_ = {help, calculator, other, web1, web2};

    connect(swap, &QPushButton::clicked, this, [this] { guarded([this] { takeBackResults(); }); });
    connect(print, &QPushButton::clicked, this,
            [this] { guarded([this] { ui::services().printWindow(this); }); });
    connect(help, &QPushButton::clicked, this, [this] {
        guarded([this] {
            ui::showWindow(window_ids::kForm5);
            text2_->setText(state_.helpText);
        });
    });
    connect(calculator, &QPushButton::clicked, this,
            [] { guarded([] { ui::showWindow(window_ids::kForm1); }); });
    connect(other, &QPushButton::clicked, this,
            [] { guarded([] { ui::showWindow(window_ids::kForm2); }); });
    connect(web1, &QPushButton::clicked, this, [] { guarded([] { ui::openDocumentation(); }); });
    connect(web2, &QPushButton::clicked, this,
            [] { guarded([] { ui::openDocumentation(QStringLiteral("survey")); }); });
    connect(gps, &QPushButton::clicked, this,
            [] { guarded([] { ui::showWindow(window_ids::kFormGps); }); });
    connect(column, &QPushButton::clicked, this,
            [] { guarded([] { ui::showWindow(window_ids::kFormDanLie); }); });

    connect(combo3_, &QComboBox::activated, this,
            [this] { guarded([this] { meridianClicked(); }); });
    connect(combo5_, &QComboBox::activated, this, [this] {
        guarded([this] { ui::showNotices(ZelFenGeFuXuanZe(combo5_->currentText())); });
    });

    // Load: the defaults, the help text kept for CommandHelp.
    state_.helpText = text2_->text();
    combo3_->setCurrentIndex(kDefaultMeridianIndex);
    combo4_->setCurrentIndex(0);
    combo5_->setCurrentIndex(0);
    state_.separator = combo5_->currentText();

    text2_->setGeometry(px(kNarrowText1), px(kBoxTop), px(kWidth - kNarrowText1 - 50), px(4000));
    resize(px(kWidth), px(kHeight));
    layoutBoxes(kWidth, kHeight);
    const QSize least = minimumTwips();
    setMinimumSize(px(least.width()), px(least.height()));
}

QSize Form213::minimumTwips() const {
    int right = 0;
    for (const QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w == text1_ || w == text2_) continue;
        right = std::max(right, w->x() + std::max(w->width(), w->sizeHint().width()));
    }
    return {std::max(twips(right) + 120, 9600), 7095};
}

QPushButton* Form213::button(GkConversion op) const {
    for (int i = 0; i < 10; ++i)
        if (kButtons[i].op == op) return conversionButtons_[i];
    return nullptr;
}

int Form213::px(int twips) const { return ui::pixelsFromTwips(this, twips); }
int Form213::twips(int pixels) const { return ui::twipsFromPixels(this, pixels); }

void Form213::convert(GkConversion op) {
    guarded([this, op] {
        const GkControls controls{check1_->isChecked(), combo5_->currentText(), option1_->text(),
                                  combo4_->currentText(), combo3_->currentText()};
        // Every row is converted, as the command line does.
        const GkResult r = ZelZuoBiaoZhuanHuan(op, text1_->text(), text2_->text(), controls,
                                               std::numeric_limits<int>::max());
        const GkSettingsReading& s = r.settings;
        state_.withNames = s.withNames;
        state_.separator = s.separator;
        state_.mode = s.order;
        state_.datum = s.datum;
        state_.meridian = s.meridian;
        ui::showNotices(r.notices);
        if (s.meridianReset) {
            combo3_->setCurrentIndex(kDefaultMeridianIndex);
            label4_->setText(defaultZoneLabel());
        }
        combo3_->setEditText(s.meridianText);
        label4_->setText(s.meridianReset ? defaultZoneLabel() : ZelDuiYingDaiHao(s.meridian));
        if (r.input != text1_->text()) text1_->replaceText(r.input);
        text2_->setText(r.output);
    });
}

void Form213::toggleOrder() {
    const bool toXyz = option1_->text() != xyzCaption();
    option1_->setText(toXyz ? xyzCaption() : QStringLiteral("Y X Z模式"));
    option1_->setToolTip(toXyz ? xyzTip() : yxzTip());
    ui::setBackgroundColour(option1_, toXyz ? kXyzColour : kYxzColour);
    option1_->setChecked(true);
}

void Form213::meridianClicked() {
    const MeridianBox m = meridianBoxClick(combo3_->currentText());
    state_.meridian = m.value;
    label4_->setText(m.label);
}

// Label3: back to the default entry, the label and the setting with it.
void Form213::resetMeridian() {
    combo3_->setCurrentIndex(kDefaultMeridianIndex);
    combo3_->setEditText(combo3_->itemText(kDefaultMeridianIndex));
    meridianClicked();
}

// Only result rows go back into the input box; the help text and the headings are
// not data.
void Form213::takeBackResults() {
    const QString rows = resultRowsOf(text2_->text(), state_.helpText);
    if (rows.isEmpty()) {
        ui::messageBox(noResultRowsText());
        return;
    }
    text1_->replaceText(rows);
}

void Form213::meridianLostFocus() {
    const MeridianBox m = meridianBoxLostFocus(combo3_->currentText());
    if (onlySpaces(combo3_->currentText())) {
        combo3_->setCurrentIndex(kDefaultMeridianIndex);
        label4_->setText(defaultZoneLabel());
    }
    ui::showNotices(m.notices);
    if (m.reset) {
        combo3_->setCurrentIndex(kDefaultMeridianIndex);
        label4_->setText(defaultZoneLabel());
    }
    state_.meridian = m.value;
    combo3_->setEditText(m.text);
    label4_->setText(m.label);
}

bool Form213::eventFilter(QObject* watched, QEvent* e) {
    guarded([&] {
        if (e->type() == QEvent::MouseButtonRelease) {
            if (watched == label1_) {
                const QString normal = ZelGuiFanShuRu(text1_->text());
                if (normal != text1_->text()) text1_->replaceText(normal);
                text2_->setText(QString());
            } else if (watched == label3_) {
                resetMeridian();
            } else if (watched == label5_) {
                combo4_->setCurrentIndex(0);
            } else if (watched == label21_) {
                combo5_->setCurrentIndex(0);
            }
        } else if (e->type() == QEvent::FocusOut && watched == combo3_) {
            // Opening the drop-down list does not leave the box.
            if (static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason) meridianLostFocus();
        }
    });
    return QWidget::eventFilter(watched, e);
}

void Form213::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    guarded([&] { layoutBoxes(twips(e->size().width()), twips(e->size().height())); });
}

void Form213::layoutBoxes(int widthTwips, int heightTwips) {
    QRect r1 = text1_->geometry();
    QRect r2 = text2_->geometry();
    r1.moveTop(px(kBoxTop));
    r2.moveTop(px(kBoxTop));
    r1.moveLeft(0);
    if (widthTwips >= 9600) {
        r1.setWidth(px(qRound(widthTwips / 2.4)));
        r2.setWidth(px(widthTwips - twips(r1.width()) - 50));
    } else {
        r1.setWidth(px(kNarrowText1));
    }
    r2.moveLeft(r1.width());
    if (heightTwips >= 7095) {
        r1.setHeight(px(heightTwips - 1200 - kBoxTop));
        r2.setHeight(r1.height());
    }
    text1_->setGeometry(r1);
    text2_->setGeometry(r2);
    if (heightTwips < 7095) return;

    const int boxBottom = twips(r1.y() + r1.height());
    auto lay = [this](const QList<QPushButton*>& buttons, int top) {
        int x = px(120);
        for (QPushButton* b : buttons) {
            const int w = std::max(px(1500), b->sizeHint().width() + px(120));
            b->setGeometry(x, px(top), w, px(kButtonHeight));
            x += w + px(60);
        }
    };
    lay(printRow_, boxBottom + 30);
    lay(helpRow_, boxBottom + 30 + 330);
}

}  // namespace hc

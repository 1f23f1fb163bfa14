#pragma once
// The names of the program's windows. Code names a window only through these
// constants, so a misspelt name does not compile; the names are also the windows'
// object names, which the window tests look them up by.

#include <QString>
#include <string_view>

namespace hc::ui {

// A window's name, made only from a literal at compile time.
class WindowId {
public:
    constexpr explicit WindowId(std::u16string_view name) : name_(name) {}
    QString name() const { return QString::fromUtf16(name_.data(), qsizetype(name_.size())); }
    friend constexpr bool operator==(WindowId a, WindowId b) { return a.name_ == b.name_; }

private:
    std::u16string_view name_;
};

}  // namespace hc::ui

namespace hc::window_ids {

// The calculator and its small windows.
inline constexpr ui::WindowId kForm1{u"Form1"};  // main window
inline constexpr ui::WindowId kForm2{u"Form2"};  // module menu
inline constexpr ui::WindowId kForm3{u"Form3"};  // memory variable editor
inline constexpr ui::WindowId kForm5{u"Form5"};  // help
inline constexpr ui::WindowId kForm6{u"Form6"};  // image button test
// Tool windows.
inline constexpr ui::WindowId kForm201{u"Form201"};        // statistics
inline constexpr ui::WindowId kForm202{u"Form202"};        // angle conversion
inline constexpr ui::WindowId kForm203{u"Form203"};        // base conversion and logic
inline constexpr ui::WindowId kForm204{u"Form204"};        // error propagation
inline constexpr ui::WindowId kForm205{u"Form205"};        // matrices
inline constexpr ui::WindowId kForm207{u"Form207"};        // systems of linear equations
inline constexpr ui::WindowId kForm209{u"Form209"};        // linear regression
inline constexpr ui::WindowId kForm210{u"Form210"};        // integer and fraction parts
inline constexpr ui::WindowId kForm211{u"Form211"};        // derivative and root
inline constexpr ui::WindowId kForm212{u"Form212"};        // integral
inline constexpr ui::WindowId kForm213{u"Form213"};        // coordinate conversion
inline constexpr ui::WindowId kForm214{u"Form214"};        // distance and bearing
inline constexpr ui::WindowId kForm215{u"Form215"};        // parcel areas
inline constexpr ui::WindowId kForm216{u"Form216"};        // plane attitude
inline constexpr ui::WindowId kForm217{u"Form217"};        // theodolite: traverses, intersections
inline constexpr ui::WindowId kForm218{u"Form218"};        // rangefinder: distance reductions
inline constexpr ui::WindowId kFormDanLie{u"FormDanLie"};  // single point conversion
inline constexpr ui::WindowId kFormGps{u"FormGps"};        // GPS datum conversion

}  // namespace hc::window_ids

#pragma once
// GPS coordinate conversion window "GPS坐标转换", opened from the coordinate conversion
// window: fits datum transformation parameters from common points and converts point
// lists with them (survey/datum_ops.h does the work; this window passes its texts).

#include <QWidget>

#include "survey/datum_ops.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace hc {

class FormGps : public QWidget {
    Q_OBJECT
public:
    explicit FormGps(QWidget* parent = nullptr);

    // Points in a window run are bounded so that a click never keeps it busy for long;
    // the command line has no such bound.
    static constexpr long long kWindowPoints = 20000;

    // CommandFit: fits the chosen model to the two common-point boxes; the parameter line
    // goes into TextParams, the report into TextOutput.
    void fit();
    // CommandApply / CommandInverse: converts TextPoints from the source system to the
    // target system, or back with the inverse transformation.
    void apply(bool inverse);
    // CommandSave / CommandLoad with a file name chosen (tests call these directly).
    void saveParameters(const QString& path);
    void loadParameters(const QString& path);

    QPlainTextEdit* sourceBox() const { return source_; }
    QPlainTextEdit* targetBox() const { return target_; }
    QPlainTextEdit* pointsBox() const { return points_; }
    QPlainTextEdit* outputBox() const { return output_; }
    QLineEdit* parametersField() const { return params_; }
    QLineEdit* meridianField() const { return meridian_; }
    QComboBox* fromDatumBox() const { return fromDatum_; }
    QComboBox* fromFormBox() const { return fromForm_; }
    QComboBox* toDatumBox() const { return toDatum_; }
    QComboBox* toFormBox() const { return toForm_; }
    QComboBox* modelBox() const { return model_; }
    QComboBox* heightBox() const { return height_; }
    // The common points at their target positions with the fit's residual vectors, for
    // the boxes and choices as they stand (empty when the fit fails).
    PlanSketch sketch() const;

private:
    DatumFitSettings fitSettings() const;
    CoordSystem side(QComboBox* datum, QComboBox* form) const;
    // The central meridian box: nothing when blank; false (with a message) when invalid.
    bool meridian(std::optional<double>& value) const;

    QComboBox* fromDatum_;
    QComboBox* fromForm_;
    QComboBox* toDatum_;
    QComboBox* toForm_;
    QComboBox* model_;
    QComboBox* height_;
    QLineEdit* meridian_;
    QPlainTextEdit* source_;
    QPlainTextEdit* target_;
    QLineEdit* params_;
    QPlainTextEdit* points_;
    QPlainTextEdit* output_;
};

}  // namespace hc

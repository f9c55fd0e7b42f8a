#include "CalibrationDialog.h"

#include "ScreenCalibration.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kBarCm = 10.0;
constexpr int kBarHeight = 24;

// A black bar exactly `width` pixels long, with end marks to set the ruler against.
class Bar : public QWidget {
public:
    Bar(int width, QWidget* parent) : QWidget(parent), width_(width) {
        setFixedSize(width + 2, kBarHeight + 12);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.fillRect(1, 6, width_, kBarHeight, Qt::black);
        p.fillRect(0, 0, 1, height(), Qt::black);
        p.fillRect(width_ + 1, 0, 1, height(), Qt::black);
    }

private:
    int width_;
};

} // namespace

CalibrationDialog::CalibrationDialog(double pixelsPerCm, int widest, QWidget* parent)
    : QDialog(parent), barPixels_(std::clamp(static_cast<int>(std::lround(kBarCm * pixelsPerCm)),
                                             10, std::max(10, widest))) {
    setWindowTitle(QStringLiteral("Calibrate screen"));
    auto* text = new QLabel(
        QStringLiteral("Hold a ruler against the screen and measure the black bar from one end "
                       "mark to the other. Enter its length: gains and the time base in mm/s are "
                       "then true on this screen."),
        this);
    text->setWordWrap(true);
    length_ = new QDoubleSpinBox(this);
    length_->setRange(1.0, 3000.0);
    length_->setDecimals(1);
    length_->setSuffix(QStringLiteral(" mm"));
    length_->setValue(barPixels_ / pixelsPerCm * 10.0);
    length_->selectAll();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Length of the bar:"), length_);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->button(QDialogButtonBox::RestoreDefaults)
        ->setText(QStringLiteral("Forget calibration"));
    auto* all = new QVBoxLayout(this);
    all->addWidget(text);
    all->addWidget(new Bar(barPixels_, this), 0, Qt::AlignHCenter);
    all->addLayout(form);
    all->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            [this] {
                forget_ = true;
                accept();
            });
    length_->setFocus();
}

void CalibrationDialog::setMeasuredMm(double mm) { length_->setValue(mm); }

double CalibrationDialog::measuredPixelsPerCm() const {
    return ScreenCalibration::fromMeasure(barPixels_, length_->value());
}

#pragma once
// The spectrum of the page (View > Page spectrum): the power spectral density of each EEG line
// of the page on screen, or of the measured stretch while a measurement is shown, as the lines
// are drawn (through their filters, in µV), on a logarithmic scale, with each line's peak
// frequency (the strongest bin from 1 to 30 Hz) beside its label.

#include "welch.h"

#include <QDockWidget>
#include <QImage>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class CViewerCtrl;

struct LineSpectrum {
    QString label;
    QRgb colour = 0;
    std::vector<double> density; // µV²/Hz per bin
    double peakHz = 0.0;         // of the bins from 0.5 Hz up
};

struct PageSpectra {
    double binHz = 0.5;
    std::vector<LineSpectrum> lines;
};

// The spectra of the lines of `trace`'s page, over page samples [first, last] when given,
// with windows of 2 s (or the whole stretch when shorter), half overlapping.
PageSpectra pageSpectra(const CViewerCtrl& trace, viewer::trends::FftPlans& plans,
                        std::optional<std::pair<int32_t, int32_t>> samples);

class PagePower : public QDockWidget {
public:
    explicit PagePower(QWidget* parent);

    // Shows `spectra`, described by `what` ("Page", "Measured stretch, 1.25 s").
    void show(PageSpectra spectra, const QString& what);
    const PageSpectra& spectra() const { return spectra_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint(QWidget& on);

    QWidget* chart_ = nullptr;
    PageSpectra spectra_;
    QString what_;
};

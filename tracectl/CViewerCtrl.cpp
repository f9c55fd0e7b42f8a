#include "CViewerCtrl.h"

#include "recording_queries.h"

#include <QDate>
#include <QFile>
#include <QLocale>

using namespace viewer;

CViewerCtrl::CViewerCtrl(QWidget* parent) : QWidget(parent), rec_(std::make_unique<Recording>()) {}

CViewerCtrl::~CViewerCtrl() = default;

// ---- Properties -------------------------------------------------------------------------

void CViewerCtrl::setFontBold(bool v) {
    fontBold_ = v;
    setModified();
}

void CViewerCtrl::setFontItalic(bool v) {
    fontItalic_ = v;
    setModified();
}

void CViewerCtrl::setFontName(const QString& v) {
    fontName_ = v;
    setModified();
}

void CViewerCtrl::setFontSize(int32_t v) {
    fontSize_ = v;
    setModified();
}

void CViewerCtrl::setLabelsColor(int32_t v) {
    labelsColor_ = v;
    setModified();
}

void CViewerCtrl::setTraceOverLabel(bool v) {
    traceOverLabel_ = v;
    redrawStatic();
    setModified();
}

void CViewerCtrl::setGridType(int16_t v) {
    gridType_ = v;
    redrawStatic();
    setModified();
}

void CViewerCtrl::setGridColor(int32_t v) {
    gridColor_ = v;
    redrawStatic();
    setModified();
}

void CViewerCtrl::setPathSettings(const QString& v) {
    pathSettings_ = v;
    setModified();
}

void CViewerCtrl::setNumMont(int16_t v) {
    numMont_ = v;
    setModified();
}

void CViewerCtrl::setGratis(bool v) {
    gratis_ = v;
    setModified();
}

void CViewerCtrl::setNotchFreq(int16_t v) {
    notchFreq_ = v;
    setModified();
}

int16_t CViewerCtrl::ViewMode() const { return rec_->currentMontage.refMode; }

void CViewerCtrl::setViewMode(int16_t v) {
    rec_->currentMontage.refMode = static_cast<uint8_t>(v & 0xFF);
    redrawStatic();
    setModified();
}

void CViewerCtrl::setBackColor(uint32_t v) {
    backColor_ = v;
    update();
}

void CViewerCtrl::setBorderStyle(int16_t v) {
    borderStyle_ = v;
    update();
}

// ---- Opening a recording ----------------------------------------------------------------

int16_t CViewerCtrl::FileName(const QString& nomeFile) {
    path_ = nomeFile;
    if (!openRecording(*rec_, QFile::encodeName(nomeFile).toStdString())) {
        update();
        return -1;
    }
    Recording& rec = *rec_;
    rec.maxPageMs = maxPageMsFor(rec.header.numChannels, rec.header.rate);
    rec.currentMontage.numLines = 0;
    rec.pageBuffer.assign(kPageBufferBytes / sizeof(int32_t), 0);
    redrawStatic();
    update();
    setModified();
    return 0;
}

void CViewerCtrl::redrawStatic() {}

// ---- Queries about the recording --------------------------------------------------------

float CViewerCtrl::GetPosNote(int32_t numNota) { return queries::GetPosNote(*rec_, numNota); }

int32_t CViewerCtrl::totalTrcSec() { return queries::totalTrcSec(*rec_); }

int32_t CViewerCtrl::GetMont(int32_t secondo) { return queries::GetMont(*rec_, secondo); }

int16_t CViewerCtrl::GetVideoOneSfasFrame() { return queries::GetVideoOneSfasFrame(*rec_); }

int32_t CViewerCtrl::GetMaxLarghEtichette() { return labelWidth_; }

int32_t CViewerCtrl::GetPixelPosition(int32_t milliSec) {
    return queries::GetPixelPosition(rec_->currentMontage.pageMs, labelWidth_, width(), milliSec);
}

QString CViewerCtrl::GetSurName() { return QString::fromStdString(queries::GetSurName(*rec_)); }

QString CViewerCtrl::GetName() { return QString::fromStdString(queries::GetName(*rec_)); }

QString CViewerCtrl::GetBirthDate() {
    const TrcHeader& h = rec_->header;
    const QDate date(h.birthYear + 1900, h.birthMonth, h.birthDay);
    if (!date.isValid()) {
        return QStringLiteral("Invalid date");
    }
    // The locale's short date, always with the century.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy"))) {
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    return QLocale().toString(date, format);
}

QString CViewerCtrl::GetExamDate() { return {}; }

double CViewerCtrl::GetDateTimeFromSeconds(int32_t seconds) {
    return queries::GetDateTimeFromSeconds(*rec_, seconds);
}

int32_t CViewerCtrl::GetSfasVideo(int32_t position, int32_t* videoFileNum) {
    int32_t fileNum = -1;
    const int32_t start = queries::GetSfasVideo(*rec_, position, fileNum);
    if (videoFileNum) {
        *videoFileNum = fileNum;
    }
    return start;
}

float CViewerCtrl::GetNextFileVideoStart(int32_t currentVideo) {
    return queries::GetNextFileVideoStart(*rec_, currentVideo);
}

bool CViewerCtrl::ThereIsVideo() { return queries::ThereIsVideo(*rec_); }

int32_t CViewerCtrl::GetTime(float secondo) { return queries::GetTime(*rec_, secondo); }

int16_t CViewerCtrl::GetNumArchivedMontage() { return queries::GetNumArchivedMontage(*rec_); }

QString CViewerCtrl::GetArchivedMontName(int16_t numMont) {
    return QString::fromStdString(queries::GetArchivedMontName(*rec_, numMont));
}

// ---- Members that pages, filters and drawing complete -------------------------------------

int16_t CViewerCtrl::ModifyGain(int32_t* /*gainPref*/, bool /*incr*/) { return 0; }

void CViewerCtrl::Redraw(bool /*loadData*/) {}

int32_t CViewerCtrl::GetGainEEG() { return 0; }

bool CViewerCtrl::DrawPage(int32_t /*sec*/) { return false; }

void CViewerCtrl::DeselectAll() {}


int16_t CViewerCtrl::SetGainEEG(int32_t /*gain*/) { return 0; }


int16_t CViewerCtrl::SetHighFilterEEG(int32_t /*filtVal*/) { return 0; }

int16_t CViewerCtrl::SetLowFilterEEG(int32_t /*filtVal*/) { return 0; }

int32_t CViewerCtrl::GetHighFilterEEG() { return -1; }

int32_t CViewerCtrl::GetLowFilterEEG() { return -1; }

void CViewerCtrl::SetNotchFilter(int16_t notch) {
    rec_->currentMontage.notch = static_cast<uint8_t>(notch & 0xFF);
}

bool CViewerCtrl::GetNotchFilter() { return rec_->currentMontage.notch != 0; }

float CViewerCtrl::SetSecNumber(float /*numeroSecondi*/) { return secNumber(); }

float CViewerCtrl::secNumber() { return static_cast<float>(rec_->currentMontage.pageMs) / 1000.0f; }

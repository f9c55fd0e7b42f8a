#include "CViewerCtrl.h"

#include "recording_queries.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLocale>

using namespace viewer;

CViewerCtrl::CViewerCtrl(QWidget* parent)
    : QWidget(parent), model_(std::make_unique<TraceModel>()), traceColours_(makeTraceColours()),
      marker_(QStringLiteral(":/tracectl/warning.png")),
      notTraceFile_(QStringLiteral(":/tracectl/not_trace_file.png")),
      beep_([] { QApplication::beep(); }) {
    // Painting always covers the whole control from the layers.
    setAttribute(Qt::WA_OpaquePaintEvent);
    marker_ = marker_.convertToFormat(QImage::Format_RGB32);
    notTraceFile_ = notTraceFile_.convertToFormat(QImage::Format_RGB32);
    adoptClientSize();
}

CViewerCtrl::~CViewerCtrl() { notesWorker_.stop(); }

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
    if (gratis_ || !rec().isOpen()) {
        return;
    }
    numMont_ = model_->chooseMontage(v, notchFreq_);
    redrawStatic();
    setViewMode(rec().currentMontage.refMode);
    setModified();
}

void CViewerCtrl::setGratis(bool v) {
    bool historyLoaded = false;
    gratis_ = model_->setAsRecorded(v, historyLoaded);
    redrawStatic();
    update();
    setModified();
    // Only now are montage, derivations and filters all in place for the host's handler.
    if (historyLoaded) {
        emit CambiatoMontaggio();
    }
}

void CViewerCtrl::setNotchFreq(int16_t v) {
    notchFreq_ = v;
    setModified();
}

int16_t CViewerCtrl::ViewMode() const { return model_->recording().currentMontage.refMode; }

void CViewerCtrl::setViewMode(int16_t v) {
    rec().currentMontage.refMode = static_cast<uint8_t>(v & 0xFF);
    redrawStatic();
    setModified();
}

void CViewerCtrl::setBackColor(uint32_t v) {
    backColor_ = v;
    update();
    setModified();
}

void CViewerCtrl::setBorderStyle(int16_t v) {
    borderStyle_ = v;
    // A single border takes one pixel from each side of the drawing area.
    const int border = v == 1 ? 1 : 0;
    setContentsMargins(border, border, border, border);
    update();
    setModified();
}

// ---- Opening a recording ----------------------------------------------------------------

int16_t CViewerCtrl::FileName(const QString& nomeFile) {
    path_ = nomeFile;
    notesWorker_.stop();
    ++notesGeneration_;
    const TraceModel::OpenResult opened =
        model_->open(QFile::encodeName(nomeFile).toStdString(), gratis_,
                     notesLater_ ? NotesReading::Start : NotesReading::Whole);
    // Of the recording open now, the new one or the one kept: after its first paint.
    notesPending_ = notesLater_;
    if (!opened.opened) {
        update();
        return -1;
    }
    redrawStatic();
    update();
    setModified();
    if (opened.historyLoaded) {
        emit CambiatoMontaggio();
    }
    return 0;
}

// ---- Queries about the recording --------------------------------------------------------

float CViewerCtrl::GetPosNote(int32_t numNota) { return queries::GetPosNote(rec(), numNota); }

int32_t CViewerCtrl::totalTrcSec() { return queries::totalTrcSec(rec()); }

int32_t CViewerCtrl::GetMont(int32_t secondo) { return queries::GetMont(rec(), secondo); }

int16_t CViewerCtrl::GetVideoOneSfasFrame() { return queries::GetVideoOneSfasFrame(rec()); }

int32_t CViewerCtrl::GetMaxLarghEtichette() { return labelWidth_; }

int32_t CViewerCtrl::GetPixelPosition(int32_t milliSec) {
    return queries::GetPixelPosition(rec().currentMontage.pageMs, labelWidth_, clientSize().width(),
                                     milliSec);
}

QString CViewerCtrl::GetSurName() { return QString::fromStdString(queries::GetSurName(rec())); }

QString CViewerCtrl::GetName() { return QString::fromStdString(queries::GetName(rec())); }

QString CViewerCtrl::GetBirthDate() {
    const TrcHeader& h = rec().header;
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
    return queries::GetDateTimeFromSeconds(rec(), seconds);
}

int32_t CViewerCtrl::GetSfasVideo(int32_t position, int32_t* videoFileNum) {
    int32_t fileNum = -1;
    const int32_t start = queries::GetSfasVideo(rec(), position, fileNum);
    if (videoFileNum) {
        *videoFileNum = fileNum;
    }
    return start;
}

float CViewerCtrl::GetNextFileVideoStart(int32_t currentVideo) {
    return queries::GetNextFileVideoStart(rec(), currentVideo);
}

bool CViewerCtrl::ThereIsVideo() { return queries::ThereIsVideo(rec()); }

int32_t CViewerCtrl::GetTime(float secondo) { return queries::GetTime(rec(), secondo); }

int16_t CViewerCtrl::GetNumArchivedMontage() { return queries::GetNumArchivedMontage(rec()); }

QString CViewerCtrl::GetArchivedMontName(int16_t numMont) {
    return QString::fromStdString(queries::GetArchivedMontName(rec(), numMont));
}

// ---- Pages -------------------------------------------------------------------------------

bool CViewerCtrl::DrawPage(int32_t sec) {
    bool historySwitched = false;
    if (!model_->seekPage(sec, gratis_, historySwitched)) {
        return false;
    }
    if (historySwitched) {
        redrawStatic();
        // Montage, derivations and filters are in place; the page and its notes follow.
        emit CambiatoMontaggio();
    }
    const bool whole = drawTraces(true);
    update();
    return whole;
}

void CViewerCtrl::SetNotchFilter(int16_t notch) { model_->setNotch(notch); }

bool CViewerCtrl::GetNotchFilter() { return rec().currentMontage.notch != 0; }

float CViewerCtrl::SetSecNumber(float numeroSecondi) {
    const float inForce = model_->setPageSeconds(numeroSecondi);
    redrawStatic();
    return inForce;
}

float CViewerCtrl::secNumber() { return model_->pageSeconds(); }

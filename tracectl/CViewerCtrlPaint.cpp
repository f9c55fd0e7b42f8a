// The control's drawing: the two layers, the notes of the page, painting and size changes.

#include "CViewerCtrl.h"

#include "layer_memory.h"
#include "page_layer.h"
#include "page_notes.h"
#include "static_layer.h"
#include "text.h"
#include "trace_geometry.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>
#include <cmath>

using namespace viewer;

namespace {

// The screen height assumed when the control is on no screen.
constexpr int kFallbackVerticalResolution = 1080;

QImage blankLayer(QSize size, QRgb background) {
    if (size.isEmpty()) {
        return {};
    }
    QImage layer = layerImage(size, QImage::Format_RGB32);
    layer.fill(background);
    return layer;
}

// `layer` ready to receive a copy of `like`: of its size and format, its pixels its own (not
// shared with a copy a host still holds), reused when they already are. What it held is left
// for the copy to overwrite.
void prepareLayer(QImage& layer, const QImage& like) {
    if (layer.size() != like.size() || layer.format() != like.format() ||
        layer.bytesPerLine() != like.bytesPerLine() || !layer.isDetached()) {
        layer = layerImage(like.size(), like.format());
    }
}

} // namespace

int CViewerCtrl::verticalResolution() const {
    if (verticalResolution_ > 0) {
        return verticalResolution_;
    }
    const QScreen* s = screen();
    return s ? s->size().height() : kFallbackVerticalResolution;
}

void CViewerCtrl::setPixelsPerCm(double pixels) {
    calibratedPixelsPerCm_ = std::isfinite(pixels) && pixels > 0.0 ? pixels : 0.0;
}

double CViewerCtrl::pixelsPerCentimetre() const {
    return calibrated() ? calibratedPixelsPerCm_ : pixelsPerCm(verticalResolution());
}

double CViewerCtrl::layerScale() const {
    const double ratio = layerScaleOverride_ > 0.0 ? layerScaleOverride_ : devicePixelRatioF();
    return std::isfinite(ratio) ? std::clamp(ratio, 1.0, 8.0) : 1.0;
}

QSize CViewerCtrl::layerSize() const {
    const double scale = layerScale();
    const QSize size = clientSize();
    if (scale == 1.0) {
        return size;
    }
    return {static_cast<int>(std::lround(size.width() * scale)),
            static_cast<int>(std::lround(size.height() * scale))};
}

void CViewerCtrl::Redraw(bool loadData) {
    redrawStatic();
    drawTraces(loadData);
    update();
}

void CViewerCtrl::redrawStatic() {
    adoptClientSize();
    const int lines = std::min<int>(rec().currentMontage.numLines, kMaxLines);
    if (!rec().isOpen() || lines == 0 || staticLayer_.isNull()) {
        return; // the layer and its geometry stay as they were
    }
    std::vector<uint8_t> kinds;
    for (int i = 0; i < lines; ++i) {
        kinds.push_back(rec().derivations[i].kind);
    }
    StaticLayerSettings settings;
    settings.background = fromOleColour(backColor_);
    settings.gridColour = fromOleColour(static_cast<uint32_t>(gridColor_));
    settings.gridType = gridType_;
    settings.traceOverLabel = traceOverLabel_;
    settings.font = LabelFont{fontName_, fontSize_, fontBold_, fontItalic_};
    settings.scale = layerScale();
    if (!staticLayer_.isDetached()) {
        // A drawing not rasterised yet keeps the layer as it was: draw on new pixels rather
        // than copy the old ones first (the layer is drawn whole).
        staticLayer_ = layerImage(staticLayer_.size(), staticLayer_.format());
    }
    const StaticLayerGeometry g = drawStaticLayer(staticLayer_, rec(), kinds, settings, marker_);
    layerLabelWidth_ = g.labelWidth;
    layerRowCentre_ = g.rowCentre;
    // The host places its labels and markers in logical pixels.
    const auto logical = [&](int32_t v) {
        return static_cast<int32_t>(std::lround(static_cast<double>(v) / settings.scale));
    };
    labelWidth_ = logical(g.labelWidth);
    rowCentre_.clear();
    for (const int32_t y : g.rowCentre) {
        rowCentre_.push_back(logical(y));
    }
}

bool CViewerCtrl::drawTraces(bool loadData) {
    if (!model_->hasLines()) {
        return false;
    }
    if (adoptClientSize()) {
        redrawStatic();
    }
    pending_.reset(); // this drawing replaces one not drawn yet
    const bool whole = loadData && model_->loadPage();
    PageLayerSettings settings;
    settings.refresh = &layerRefresh_;
    settings.labelWidth = layerLabelWidth_;
    settings.rowCentre = layerRowCentre_;
    settings.scale = layerScale();
    settings.pixelsPerCm = pixelsPerCentimetre() * settings.scale;
    settings.fontName = fontName_;
    if (model_->keepsLineValues()) {
        // The values now (the filters run once per drawing); the pixels when the page layer
        // is next looked at, so that drawings replaced before then cost no rasterising.
        model_->computeLineValues();
        pending_ =
            PendingTraces{planPageLayer(*model_, traceColours_, settings, staticLayer_.width()),
                          staticLayer_, settings};
    } else {
        prepareLayer(pageLayer_, staticLayer_);
        settings.background = &staticLayer_;
        drawPageLayer(pageLayer_, *model_, traceColours_, settings);
    }
    reportNotes();
    return whole;
}

void CViewerCtrl::drawPendingTraces() const {
    if (!pending_) {
        return;
    }
    const PendingTraces traces = std::move(*pending_);
    pending_.reset();
    prepareLayer(pageLayer_, traces.background);
    PageLayerSettings settings = traces.settings;
    settings.background = &traces.background;
    drawPlannedPageLayer(pageLayer_, traces.raster, settings);
}

void CViewerCtrl::reportNotes() {
    // The walk is over before the host hears of any note, so a handler that opens another
    // file or draws another page cannot change the table under it.
    const std::vector<PageNote> notes =
        notesOnPage(rec(), labelWidth_, clientSize().width() - labelWidth_);
    emit DeleteNote();
    for (const PageNote& n : notes) {
        emit NoteNotification(n.numNota, n.posPix,
                              QString::fromStdString(n.utf8 ? n.text : windows1252ToUtf8(n.text)));
    }
}

bool CViewerCtrl::adoptClientSize() {
    const QSize size = layerSize();
    if (staticLayer_.size() == size || (staticLayer_.isNull() && size.isEmpty())) {
        return false;
    }
    const QRgb background = fromOleColour(backColor_);
    staticLayer_ = blankLayer(size, background);
    pageLayer_ = blankLayer(size, background);
    pending_.reset(); // it was for the layers of the old size
    return true;
}

void CViewerCtrl::followClientSize() {
    if (adoptClientSize() && rec().isOpen()) {
        redrawStatic();
        drawTraces(false);
    }
}

QImage CViewerCtrl::emptyPicture() const {
    QImage picture = blankLayer(layerSize(), fromOleColour(backColor_));
    if (picture.isNull() || !recording().fileInvalid) {
        return picture;
    }
    QPainter p(&picture);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const double scale = layerScale();
    const int w = scaled(notTraceFile_.width(), scale);
    const int h = scaled(notTraceFile_.height(), scale);
    p.drawImage(QRect((picture.width() - w) / 2, (picture.height() - h) / 2, w, h), notTraceFile_);
    return picture;
}

void CViewerCtrl::paintEvent(QPaintEvent*) {
    if (notesPending_) {
        // The annotations left are read once the first page is on screen, never beside it.
        notesPending_ = false;
        QMetaObject::invokeMethod(
            this,
            [this, generation = notesGeneration_] {
                if (generation == notesGeneration_) { // no other file opened since
                    readRemainingNotes();
                }
            },
            Qt::QueuedConnection);
    }
    const QPoint origin = contentsRect().topLeft();
    QPainter p(this);
    if (rec().isOpen()) {
        followClientSize();
    }
    const QImage shown = rec().isOpen() ? pageLayer() : emptyPicture();
    if (shown.size() == clientSize()) {
        p.drawImage(origin, shown);
    } else {
        // Layers at device resolution land one layer pixel on one device pixel.
        p.drawImage(QRect(origin, clientSize()), shown);
    }
    if (borderStyle_ == 1) {
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CViewerCtrl::resizeEvent(QResizeEvent*) { followClientSize(); }

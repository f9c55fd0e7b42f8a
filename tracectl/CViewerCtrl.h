#pragma once
// The trace control: reads one recording, re-references, filters and draws one page of it,
// answers the host's questions about the recording and reports notes and montage changes.
// Members are declared in the order of their dispatch identifiers; a test holds that order.

#include "edf_notes_worker.h"
#include "layer_refresh.h"
#include "montage_definition.h"
#include "page_layer.h"
#include "page_painter.h"
#include "recording.h"
#include "trace_colours.h"
#include "trace_model.h"

#include <QImage>
#include <QSettings>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class CViewerCtrl : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "VIEWER.ViewerCtrl.1")
    Q_CLASSINFO("TypeLibrary", "VIEWERLib")
    Q_CLASSINFO("TypeLibID", "{936702E2-1EA0-11D5-878C-0000E865F2F8}")
    Q_CLASSINFO("Version", "1.0")
    Q_CLASSINFO("InterfaceID", "{936702E3-1EA0-11D5-878C-0000E865F2F8}")
    Q_CLASSINFO("EventsID", "{936702E4-1EA0-11D5-878C-0000E865F2F8}")
    Q_CLASSINFO("ClassID", "{936702E5-1EA0-11D5-878C-0000E865F2F8}")
    Q_CLASSINFO("PropPageProgID", "VIEWER.ViewerPropPage.1")
    Q_CLASSINFO("PropPageID", "{936702E6-1EA0-11D5-878C-0000E865F2F8}")

    Q_PROPERTY(bool fontBold READ fontBold WRITE setFontBold)
    Q_PROPERTY(bool fontItalic READ fontItalic WRITE setFontItalic)
    Q_PROPERTY(QString fontName READ fontName WRITE setFontName)
    Q_PROPERTY(int32_t fontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(int32_t labelsColor READ labelsColor WRITE setLabelsColor)
    Q_PROPERTY(bool traceOverLabel READ traceOverLabel WRITE setTraceOverLabel)
    Q_PROPERTY(int16_t gridType READ gridType WRITE setGridType)
    Q_PROPERTY(int32_t gridColor READ gridColor WRITE setGridColor)
    Q_PROPERTY(QString pathSettings READ pathSettings WRITE setPathSettings)
    Q_PROPERTY(int16_t numMont READ numMont WRITE setNumMont)
    Q_PROPERTY(bool gratis READ gratis WRITE setGratis)
    Q_PROPERTY(int16_t notchFreq READ notchFreq WRITE setNotchFreq)
    Q_PROPERTY(int16_t ViewMode READ ViewMode WRITE setViewMode)
    Q_PROPERTY(uint32_t BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int16_t BorderStyle READ BorderStyle WRITE setBorderStyle)

public:
    explicit CViewerCtrl(QWidget* parent = nullptr);
    ~CViewerCtrl() override;

    // Properties: the setter stores the value, then runs the property's change handler.
    bool fontBold() const { return fontBold_; }
    void setFontBold(bool v);
    bool fontItalic() const { return fontItalic_; }
    void setFontItalic(bool v);
    QString fontName() const { return fontName_; }
    void setFontName(const QString& v);
    int32_t fontSize() const { return fontSize_; }
    void setFontSize(int32_t v);
    int32_t labelsColor() const { return labelsColor_; }
    void setLabelsColor(int32_t v);
    bool traceOverLabel() const { return traceOverLabel_; }
    void setTraceOverLabel(bool v);
    int16_t gridType() const { return gridType_; }
    void setGridType(int16_t v);
    int32_t gridColor() const { return gridColor_; }
    void setGridColor(int32_t v);
    QString pathSettings() const { return pathSettings_; }
    void setPathSettings(const QString& v);
    int16_t numMont() const { return numMont_; }
    void setNumMont(int16_t v);
    bool gratis() const { return gratis_; }
    void setGratis(bool v);
    int16_t notchFreq() const { return notchFreq_; }
    void setNotchFreq(int16_t v);
    int16_t ViewMode() const;
    void setViewMode(int16_t v);
    uint32_t BackColor() const { return backColor_; }
    void setBackColor(uint32_t v);
    int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t v);

    // Methods of the dispatch interface.
    Q_INVOKABLE int16_t ModifyGain(std::span<const int32_t> gainPref, bool incr);
    Q_INVOKABLE void Redraw(bool loadData);
    Q_INVOKABLE int32_t GetGainEEG();
    Q_INVOKABLE bool DrawPage(int32_t sec);
    Q_INVOKABLE float GetPosNote(int32_t numNota);
    Q_INVOKABLE int32_t totalTrcSec();
    Q_INVOKABLE void DeselectAll();
    Q_INVOKABLE int16_t GetNumArchivedMontage();
    Q_INVOKABLE int16_t SetGainEEG(int32_t gain);
    Q_INVOKABLE int16_t FileName(const QString& nomeFile);
    Q_INVOKABLE int32_t GetMont(int32_t secondo);
    Q_INVOKABLE int16_t GetVideoOneSfasFrame();
    Q_INVOKABLE int32_t GetMaxLarghEtichette();
    Q_INVOKABLE int32_t GetPixelPosition(int32_t milliSec);
    Q_INVOKABLE QString GetSurName();
    Q_INVOKABLE QString GetName();
    Q_INVOKABLE QString GetBirthDate();
    Q_INVOKABLE QString GetExamDate();
    Q_INVOKABLE double GetDateTimeFromSeconds(int32_t seconds);
    Q_INVOKABLE QString GetArchivedMontName(int16_t numMont);
    Q_INVOKABLE int16_t SetHighFilterEEG(int32_t filtVal);
    Q_INVOKABLE int16_t SetLowFilterEEG(int32_t filtVal);
    Q_INVOKABLE int32_t GetHighFilterEEG();
    Q_INVOKABLE int32_t GetLowFilterEEG();
    Q_INVOKABLE void SetNotchFilter(int16_t notch);
    Q_INVOKABLE bool GetNotchFilter();
    Q_INVOKABLE int32_t GetSfasVideo(int32_t position, int32_t* videoFileNum);
    Q_INVOKABLE float GetNextFileVideoStart(int32_t currentVideo);
    Q_INVOKABLE bool ThereIsVideo();
    Q_INVOKABLE float SetSecNumber(float numeroSecondi);
    Q_INVOKABLE float secNumber();
    Q_INVOKABLE int32_t GetTime(float secondo);

    // Not part of the dispatch interface ------------------------------------------------

    // The persistent properties as the host's form keeps them: the version, the stock
    // properties, then numMont, notchFreq, traceOverLabel and fontSize; values equal to
    // their defaults are left out. Loading takes the default for whatever is missing.
    QVariantMap saveProperties() const;
    void loadProperties(const QVariantMap& form);
    void saveProperties(QSettings& settings) const;
    void loadProperties(const QSettings& settings);
    // The state of a fresh instance: the four persistent defaults.
    void resetProperties();

    // Height in pixels of the display the line scale assumes (200 mm tall); 0 returns to
    // the height of the screen the control is on.
    void setVerticalResolution(int pixels) { verticalResolution_ = pixels; }
    int verticalResolution() const;
    // Logical pixels per centimetre of the screen, as measured by a screen calibration: gains
    // are then true in µV per real centimetre. 0 (the default), negative or not finite: the
    // display is taken as 200 mm tall (verticalResolution() / 20 pixels per centimetre).
    void setPixelsPerCm(double pixels);
    // The pixels per centimetre the traces are drawn at: the calibrated value, else
    // verticalResolution() / 20.
    double pixelsPerCentimetre() const;
    bool calibrated() const { return calibratedPixelsPerCm_ > 0.0; }

    // Layer pixels per logical pixel: the layers are drawn at device resolution and every
    // value of the interface stays in logical pixels. 0 (the default) follows the widget's
    // device pixel ratio; tools and tests may set another.
    void setLayerScale(double ratio) { layerScaleOverride_ = ratio; }
    double layerScale() const;
    // The layers' size: the client size times layerScale().
    QSize layerSize() const;
    // Row centres and label width in layer pixels (rowCentre() and GetMaxLarghEtichette()
    // give them in logical pixels).
    const std::vector<int32_t>& layerRowCentre() const { return layerRowCentre_; }
    int32_t layerLabelWidth() const { return layerLabelWidth_; }

    // The page on screen painted into `area` of `p`'s device at `dotsPerInch`, with its
    // header line and calibration bar (see paintPage). Pages other than the one on screen:
    // DrawPage first.
    viewer::PagePaintResult paintPageOn(QPainter& p, const QRect& area, double dotsPerInch);
    viewer::PageHeader pageHeader();
    // What paintPageOn marks and lists besides the page: given the page's start (seconds
    // from the start of the file) and length, the reviewer events on it. The screen is
    // never drawn with them.
    using ReportEvents = std::function<std::vector<viewer::PageEventMark>(double, double)>;
    void setReportEvents(ReportEvents events) { reportEvents_ = std::move(events); }
    // The second the page on screen starts at.
    int32_t pageStartSecond() const;
    // Opens the recording `shown` shows, with its look, montage (lines, gains, filters,
    // reference, page length) and montage-history place, so that other pages can be drawn
    // for reports while `shown` keeps its page. False when the file cannot be opened again.
    bool openLike(const CViewerCtrl& shown);

    // Montages defined outside the recording (CViewerCtrlMontages.cpp).
    // Shows montage `def` (a standard montage, one of the user's, or one being edited): its
    // lines matched to the recording's electrodes by name, those without settings of their
    // own at the gain, filters and notch of the montage on screen before; the page length
    // stays. `gratis` becomes false; the static layer is redrawn, no trace and no event: the
    // host draws next (DrawPage, or Redraw(false) for the page already read). False, with
    // nothing changed, when no file is open.
    bool showMontage(const viewer::MontageDefinition& def);
    // The name of the montage shown by showMontage, empty while a montage of the recording
    // (or none) is shown.
    QString ownMontageName() const;

    // The default beep; tests install one that counts.
    void setBeeper(std::function<void()> beep) { beep_ = std::move(beep); }

    // Read access for tools and tests.
    const viewer::Recording& recording() const { return model_->recording(); }
    // The page, montage lines, their filters and the values of the last trace drawing.
    const viewer::TraceModel& model() const { return *model_; }
    bool isModified() const { return modified_; }
    const QImage& staticLayer() const { return staticLayer_; }
    // The page layer, with the traces of the last drawing (drawn on the first look).
    const QImage& pageLayer() const {
        drawPendingTraces();
        return pageLayer_;
    }
    const std::vector<int32_t>& rowCentre() const { return rowCentre_; }
    const viewer::TraceColours& traceColours() const { return traceColours_; }
    // The drawing area: the control less its border.
    QSize clientSize() const { return contentsRect().size(); }

    // What a host reads off the page under the mouse (CViewerCtrlReadout.cpp).
    // Lines of the montage drawn, and the label of line `i` (empty past them).
    int lineCount() const;
    QString lineLabel(int i) const;
    // The first sample of the page drawn in pixel column `x`; -1 left of the traces, past
    // them or with no page.
    int32_t sampleAtPixel(int x) const;
    // Line `i` at page sample `l` as drawn: the filtered value times the line scale, in
    // microvolts; NaN for a line or sample the last drawing did not cover.
    double lineMicrovolts(int i, int32_t l) const;
    // Text of note `numNota` of the note table, whole; empty past the notes. An EDF file's
    // note: its whole text, and its duration in brackets when it has one ("Apnoea (12.5 s)").
    QString noteText(int32_t numNota) const;

    // EDF+ files (edf_notes.cpp). With `later`, FileName reads only the first records'
    // annotations, and the rest on a thread of its own from the control's next paint on,
    // merged as they come; without (the default), FileName reads them all before it returns.
    void setNotesLater(bool later) { notesLater_ = later; }
    // Called each time notes read later have been merged, and once more when all are.
    void setNotesGrown(std::function<void(bool complete)> grown) { notesGrown_ = std::move(grown); }

signals:
    void DeleteNote();
    void NoteNotification(int16_t numNota, int32_t posPix, const QString& noteText);
    void CambiatoMontaggio();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setModified() { modified_ = true; }
    void redrawStatic();
    // Traces of the page at pageStart, reading it first when `loadData`; true when a page
    // read found the whole page in the recorded data. Nothing without lines.
    bool drawTraces(bool loadData);
    // Draws the traces of the last drawing into the page layer when not drawn yet.
    void drawPendingTraces() const;
    // Fires DeleteNote, then NoteNotification for each note on the page.
    void reportNotes();
    // Recreates both layers when the client size changed; true when it did.
    bool adoptClientSize();
    // After a size change: new layers, static layer and traces redrawn without a page read.
    void followClientSize();
    // What the control shows with no file open.
    QImage emptyPicture() const;
    viewer::Recording& rec() { return model_->recording(); }

    // Starts reading the annotations the open EDF file has left unread, when there are any.
    void readRemainingNotes();
    QString edfNoteText(int32_t numNota) const;

    std::unique_ptr<viewer::TraceModel> model_;
    viewer::EdfNotesWorker notesWorker_;
    bool notesLater_ = false;
    bool notesPending_ = false; // annotations to read after the next paint
    int notesGeneration_ = 0;   // parts read for an earlier file are dropped
    std::function<void(bool)> notesGrown_;
    const viewer::TraceColours traceColours_;
    QImage marker_;
    QImage notTraceFile_;
    QImage staticLayer_;
    // The page layer is drawn when first looked at after a drawing (pageLayer(), painting):
    // the traces planned, the static layer and the settings as they were at the drawing.
    struct PendingTraces {
        viewer::PageRaster raster;
        QImage background;
        viewer::PageLayerSettings settings;
    };
    mutable std::optional<PendingTraces> pending_;
    mutable viewer::LayerRefresh layerRefresh_; // what the last drawing changed in the page layer
    mutable QImage pageLayer_;
    std::vector<int32_t> rowCentre_;
    std::vector<int32_t> layerRowCentre_;
    int32_t layerLabelWidth_ = 0;
    double layerScaleOverride_ = 0.0;
    int verticalResolution_ = 0;
    double calibratedPixelsPerCm_ = 0.0;
    std::function<void()> beep_;
    ReportEvents reportEvents_;

    bool fontBold_ = false;
    bool fontItalic_ = false;
    QString fontName_;
    int32_t fontSize_ = 10;
    int32_t labelsColor_ = 0;
    bool traceOverLabel_ = true;
    int16_t gridType_ = 0;
    int32_t gridColor_ = 0;
    QString pathSettings_;
    int16_t numMont_ = 0;
    bool gratis_ = false;
    int16_t notchFreq_ = 50;
    uint32_t backColor_ = 0x00FFFFFF;
    int16_t borderStyle_ = 0;

    QString path_;
    int32_t labelWidth_ = 0;
    bool modified_ = false;
};

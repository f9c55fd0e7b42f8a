#pragma once
// The program's main window: the trace control with the time scroll bar under it, a tool bar of
// navigation buttons and display-setting lists above it, the note labels over the traces and
// the "File" menu. Every page change goes through the scroll bar: commands write its Value and
// its change event draws the page.
//
// The window's procedures are split by feature: frmView.cpp builds the window and lays it out,
// frmViewStartup.cpp starts the program, opens recordings and saves the placement,
// frmViewDisplay.cpp holds the display-setting lists and the notch, frmViewNavigation.cpp the
// paging, automatic paging and note search.

#include "DisplayTables.h"
#include "NoteLabels.h"
#include "VideoWindowLink.h"

#include <QColor>
#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CalibrationTools;
class CViewerCtrl;
class MontageList;
class MyScrollBar;
class QAction;
class QColorDialog;
class QComboBox;
class QFileDialog;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class EventsTools;
class ReviewTools;
class TrendsTools;

class frmView : public QMainWindow {
    Q_OBJECT

public:
    explicit frmView(QWidget* parent = nullptr);
    ~frmView() override;

    // Title suffix for a version: four blanks and "(Ver. 1.00.029)" for 1.0 revision 29.
    static QString buildVersionText(int major, int minor, int revision);

    // ---- Start-up and recordings (frmViewStartup.cpp) ----
    // The load step: title, placement and settings, lists, control properties, then the
    // recording named by `commandLine`. After a command-line start the launcher's window
    // "StartViewer" is closed; throws ViewerError when it cannot be found.
    void Form_Load(const QString& commandLine);
    // Opens the recording at `fileName` and resets the window to it; a file the trace control
    // refuses leaves lists, title and scroll bar range as they were (the position back at 0).
    void OpenTrace(const QString& fileName);

    // ---- Display settings (frmViewDisplay.cpp) ----
    void CaricaCombo();
    // Each selects every entry whose value equals the argument (the last match stays selected)
    // and runs the list's selection handler; no match leaves the selection as it was.
    void ImpostaComboGain(int32_t valGain);
    void ImpostaComboHighPassFilter(int32_t valFilt);
    void ImpostaComboLowPassFilter(int32_t valFilt);
    // Selects entry sec - 1 for 1 <= sec <= 40, otherwise does nothing.
    void ImpostaComboBaseTime(int32_t sec);
    void ImpostaAsRecorded();
    void ImpostaAllElectrode();
    // Presses the "notch" button when the control's notch is on, without running its action.
    void CompilaNotch();
    void ApplicaNotch();
    // "+" one gain step up, "-" one step down; any other character nothing.
    void IncrDecrGainFromKeyAscii(QChar keyAscii);

    // ---- Navigation (frmViewNavigation.cpp) ----
    void posInizioTrc();
    void PaginaIndietro();
    void PaginaAvanti();
    void posFineTrc();
    void AvantiAuto();
    void IndietroAuto();
    void CercaNotaPrec();
    void CercaNotaSucc();

    // Video file shown by the video window, -1 for none.
    int32_t numFileVideo = -1;

    const QString& traceFileName() const { return traceFileName_; }
    int32_t posSec() const { return posSec_; }
    bool pageDrawn() const { return pageDrawn_; }
    int16_t frequenzaNotch() const { return frequenzaNotch_; }
    bool startedByLauncher() const { return startedByLauncher_; }
    const QString& versionText() const { return versionText_; }
    const std::array<int32_t, 26>& gainTable() const { return gainTable_; }

    CViewerCtrl* ViewTrace1() const { return ViewTrace1_; }
    MyScrollBar* hscroll1() const { return hscroll1_; }
    QToolBar* Toolbar1() const { return Toolbar1_; }
    // The tool bar button with `key`, or null.
    QAction* button(const QString& key) const;
    QComboBox* cmbHighPass() const { return cmbHighPass_; }
    QComboBox* cmbLowPass() const { return cmbLowPass_; }
    QComboBox* cmbBaseTime() const { return cmbBaseTime_; }
    QComboBox* cmbGain() const { return cmbGain_; }
    QComboBox* cmbViewMode() const { return cmbViewMode_; }
    QLabel* lblTime() const { return lblTime_; }
    QLabel* lblNota(int i) const { return noteLabels_->label(i); }
    QWidget* pctSync() const { return pctSync_; }
    QTimer* AutoMove() const { return AutoMove_; }
    QAction* mnuOpen() const { return mnuOpen_; }
    QAction* mnu50Hz() const { return mnu50Hz_; }
    QAction* mnu60Hz() const { return mnu60Hz_; }
    QAction* mnuBackColor() const { return mnuBackColor_; }
    QAction* mnuClose() const { return mnuClose_; }
    // The dialogs are made when first asked for (making them would delay the first page).
    QFileDialog* CommonDialog1();
    QColorDialog* CommonDialogColor();

    // The platform beep; tests put a counter here.
    void setBeepHook(std::function<void()> hook) { beep_ = std::move(hook); }
    // The keys, overlay, ruler, notes panel and menus added for reviewing (viewer/review/).
    ReviewTools& review() const { return *review_; }
    // The standard and the user's montages in the montage list (viewer/montages/).
    MontageList& montages() const { return *montages_; }
    // The reviewer's events: overlay, menu, keys and sidecar (viewer/events/).
    EventsTools& events() const { return *events_; }
    // The screen calibration, the time bases in mm/s and the sensitivity readout
    // (viewer/calibration/).
    CalibrationTools& calibration() const { return *calibration_; }
    // The trend panel and the page spectrum (viewer/trends/).
    TrendsTools& trends() const { return *trends_; }

    // What the video button drives: the video window (MainWindowVideo) unless replaced.
    void setVideoLink(std::unique_ptr<VideoWindowLink> link) { video_ = std::move(link); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Values of the view-mode entries that are not archived montages.
    static constexpr int32_t kAsRecorded = 100;
    static constexpr int32_t kAllLinesRecorded = 101;

    // frmView.cpp
    void buildToolbar();
    void buildLists();
    void buildMenu();
    void connectEvents();
    void layoutChildren();
    bool isKeyPreviewTarget(const QObject* watched) const;
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    void beep();
    void Toolbar1_ButtonClick(QAction* action);
    void mnuOpen_Click();
    void mnuBackColor_Click();
    void mnuNotch_Click(int16_t hertz);

    // frmViewStartup.cpp
    void restorePlacement();
    void fillViewModeList();
    void setPatientTitle(const QString& fileName);
    void savePlacement();

    // frmViewDisplay.cpp
    void cmbGain_Click();
    void cmbHighPass_Click();
    void cmbLowPass_Click();
    void cmbBaseTime_Click();
    void cmbViewMode_Click();
    void ViewTrace1_CambiatoMontaggio();
    // Brings the lists in line with the control's page length, gain, filters and notch.
    void refreshFromControl();
    // Step 1 of the refresh: the page length's entry; while a time base (mm/s) is chosen, its
    // handler again, so that the page length follows the traces' width.
    void showPageLength();
    // The same without running the lists' handlers: the control has these values already.
    void showControlValues();
    void selectEntry(QComboBox* list, int index);
    void selectMatching(QComboBox* list, int32_t value);

    // frmViewNavigation.cpp
    void hscroll1_change();
    void showPosition();
    void AutoMove_Timer();
    void stopAutoMove(QAction* pressed);
    void setPosition(int32_t sec);
    static int32_t toWholeSeconds(double seconds);

    CViewerCtrl* ViewTrace1_ = nullptr;
    MyScrollBar* hscroll1_ = nullptr;
    QWidget* clientArea_ = nullptr;
    QToolBar* Toolbar1_ = nullptr;
    QComboBox* cmbHighPass_ = nullptr;
    QComboBox* cmbLowPass_ = nullptr;
    QComboBox* cmbBaseTime_ = nullptr;
    QComboBox* cmbGain_ = nullptr;
    QComboBox* cmbViewMode_ = nullptr;
    QLabel* lblTime_ = nullptr;
    std::unique_ptr<NoteLabels> noteLabels_;
    QWidget* pctSync_ = nullptr;
    QTimer* AutoMove_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QAction* mnuOpen_ = nullptr;
    QMenu* mnuNotchSettings_ = nullptr;
    QAction* mnu50Hz_ = nullptr;
    QAction* mnu60Hz_ = nullptr;
    QAction* mnuBackColor_ = nullptr;
    QAction* mnuClose_ = nullptr;
    QFileDialog* CommonDialog1_ = nullptr;
    QColorDialog* CommonDialogColor_ = nullptr;
    // The colour the colour dialog starts from when it is made: the stored background.
    QColor dialogColour_;

    QString traceFileName_;
    int32_t posSec_ = 0;
    QString versionText_;
    int16_t frequenzaNotch_ = 50;
    bool startedByLauncher_ = false;
    bool pageDrawn_ = false;
    std::array<int32_t, 26> gainTable_ = DisplayTables::kGains;

    // The change handler runs once at a time; a change arriving meanwhile is handled after it.
    bool changeRunning_ = false;
    bool changePending_ = false;

    std::function<void()> beep_;
    std::unique_ptr<VideoWindowLink> video_;
    std::unique_ptr<ReviewTools> review_;
    MontageList* montages_ = nullptr; // a child of the window
    std::unique_ptr<EventsTools> events_;
    CalibrationTools* calibration_ = nullptr; // a child of the window
    std::unique_ptr<TrendsTools> trends_;
};

#include "frmView.h"

#include "CViewerCtrl.h"
#include "CalibrationTools.h"
#include "EdfExportMenu.h"
#include "MainWindowVideo.h"
#include "MontageList.h"
#include "MontageTools.h"
#include "MyScrollBar.h"
#include "ReportActions.h"
#include "ToolbarPictures.h"
#include "WindowPlacement.h"
#include "events/EventsTools.h"
#include "montage_files.h"
#include "review/ReviewTools.h"
#include "trends/TrendsTools.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <cmath>

namespace {

constexpr int kMinimumTwips = 5000;
constexpr int kAutoMoveMs = 200;
// Height of the time strip at the bottom, the scroll bar's button width (315 twips at 96 dpi).
constexpr int kBottomStripPixels = 21;

struct ButtonKind {
    const char* key;
    bool check;
};

// Left to right; an empty key stands for a separator.
constexpr ButtonKind kButtons[] = {
    {"inizio", false}, {"notaPrec", false},  {"indietroAuto", true}, {"indietro", false},
    {"avanti", false}, {"avantiAuto", true}, {"notaSuc", false},     {"fine", false},
    {"", false},       {"", false},          {"video", true},        {"", false},
    {"notch", true},
};

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setFocusPolicy(Qt::ClickFocus);
    return list;
}

// A widget where the user types text.
bool takesText(const QWidget* w) {
    const auto* list = qobject_cast<const QComboBox*>(w);
    return qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
           qobject_cast<const QTextEdit*>(w) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(w) != nullptr ||
           (list != nullptr && list->isEditable());
}

} // namespace

frmView::frmView(QWidget* parent)
    : QMainWindow(parent), beep_([] { QApplication::beep(); }),
      video_(std::make_unique<MainWindowVideo>(*this)) {
    setObjectName(QStringLiteral("frmView"));
    clientArea_ = new QWidget(this);
    setCentralWidget(clientArea_);

    ViewTrace1_ = new CViewerCtrl(clientArea_);
    ViewTrace1_->setObjectName(QStringLiteral("ViewTrace1"));
    // The control's beep (a gain step past the end of the list) is the program's beep too.
    ViewTrace1_->setBeeper([this] { beep(); });
    // An EDF+ file's annotations past its first records are read after the first page shows.
    ViewTrace1_->setNotesLater(true);
    hscroll1_ = new MyScrollBar(clientArea_);
    hscroll1_->setObjectName(QStringLiteral("hscroll1"));
    hscroll1_->loadProperties(QVariantMap{{QStringLiteral("realWidth"), 315}});
    // The trace control takes no focus of its own: whatever gives it the focus gives it to the
    // scroll bar.
    ViewTrace1_->setFocusPolicy(Qt::ClickFocus);
    ViewTrace1_->setFocusProxy(hscroll1_);

    lblTime_ = new QLabel(clientArea_);
    lblTime_->setObjectName(QStringLiteral("lblTime"));
    lblTime_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblTime_->setAlignment(Qt::AlignCenter);
    // Its own background (the window's colour): a new time repaints the panel alone, not the
    // window behind it.
    lblTime_->setAutoFillBackground(true);

    noteLabels_ = std::make_unique<NoteLabels>(ViewTrace1_);
    pctSync_ = new QWidget(ViewTrace1_);
    pctSync_->setObjectName(QStringLiteral("pctSync"));
    pctSync_->setAutoFillBackground(true);
    QPalette red = pctSync_->palette();
    red.setColor(QPalette::Window, Qt::red);
    pctSync_->setPalette(red);
    pctSync_->hide();

    AutoMove_ = new QTimer(this);
    AutoMove_->setObjectName(QStringLiteral("AutoMove"));
    AutoMove_->setInterval(kAutoMoveMs);

    buildToolbar();
    buildLists();
    buildMenu();
    new EdfExportMenu(this); // a child of the window: File > Export to EDF+
    montages_ = new MontageList(
        *this, *ViewTrace1_, *cmbViewMode_, [this](int index) { selectEntry(cmbViewMode_, index); },
        viewer::montagesFolder());
    new MontageTools(*this, *ViewTrace1_, *montages_); // a child of the window
    connectEvents();

    setMinimumSize(static_cast<int>(std::ceil(kMinimumTwips / twipsPerPixelX())),
                   static_cast<int>(std::ceil(kMinimumTwips / twipsPerPixelY())));
    clientArea_->installEventFilter(this);
    // Key preview: the gain keys work whichever element of the window has the focus.
    qApp->installEventFilter(this);
    review_ = std::make_unique<ReviewTools>(*this);
    events_ = std::make_unique<EventsTools>(*this);
    calibration_ =
        new CalibrationTools(*this, *ViewTrace1_, *cmbBaseTime_, DisplayTables::kBaseTimeEntries,
                             [this] { selectEntry(cmbBaseTime_, cmbBaseTime_->currentIndex()); });
    trends_ = std::make_unique<TrendsTools>(*this);
}

frmView::~frmView() {
    // The trends' workers stop first; the events go next: their overlay watches the review
    // tools' overlay.
    trends_.reset();
    events_.reset();
}

QString frmView::buildVersionText(int major, int minor, int revision) {
    return QStringLiteral("    (Ver. %1.%2.%3)")
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'))
        .arg(revision, 3, 10, QLatin1Char('0'));
}

void frmView::buildToolbar() {
    Toolbar1_ = new QToolBar(clientArea_);
    Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1_->setMovable(false);
    Toolbar1_->setFloatable(false);
    Toolbar1_->setIconSize(ToolbarPictures::size());
    for (const ButtonKind& button : kButtons) {
        const QString key = QLatin1String(button.key);
        if (key.isEmpty()) {
            Toolbar1_->addSeparator();
            continue;
        }
        QAction* action = Toolbar1_->addAction(ToolbarPictures::picture(key), QString());
        action->setObjectName(key);
        action->setToolTip(ToolbarPictures::toolTip(key));
        action->setCheckable(button.check);
        connect(action, &QAction::triggered, this,
                [this, action] { Toolbar1_ButtonClick(action); });
    }
    button(QStringLiteral("video"))->setEnabled(false);
}

void frmView::buildLists() {
    cmbHighPass_ = makeList(Toolbar1_, "cmbHighPass");
    cmbLowPass_ = makeList(Toolbar1_, "cmbLowPass");
    cmbBaseTime_ = makeList(Toolbar1_, "cmbBaseTime");
    cmbGain_ = makeList(Toolbar1_, "cmbGain");
    cmbViewMode_ = makeList(Toolbar1_, "cmbViewMode");
    cmbViewMode_->setMinimumContentsLength(18);
    Toolbar1_->addSeparator();
    for (QComboBox* list : {cmbHighPass_, cmbLowPass_, cmbBaseTime_, cmbGain_, cmbViewMode_}) {
        Toolbar1_->addWidget(list);
    }
    // The page lengths are fixed; the other lists are filled at start-up.
    for (int i = 0; i < DisplayTables::kBaseTimeEntries; ++i) {
        cmbBaseTime_->addItem(DisplayTables::baseTimeText(i), i + 1);
    }
    cmbBaseTime_->setCurrentIndex(-1);
}

void frmView::buildMenu() {
    mnuFile_ = menuBar()->addMenu(QStringLiteral("File"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    mnuOpen_ = mnuFile_->addAction(QStringLiteral("Open"));
    mnuOpen_->setObjectName(QStringLiteral("mnuOpen"));
    mnuNotchSettings_ = mnuFile_->addMenu(QStringLiteral("Notch settings"));
    mnuNotchSettings_->setObjectName(QStringLiteral("mnuNotchSettings"));
    mnu50Hz_ = mnuNotchSettings_->addAction(QStringLiteral("50 Hz"));
    mnu50Hz_->setObjectName(QStringLiteral("mnu50Hz"));
    mnu50Hz_->setCheckable(true);
    mnu60Hz_ = mnuNotchSettings_->addAction(QStringLiteral("60 Hz"));
    mnu60Hz_->setObjectName(QStringLiteral("mnu60Hz"));
    mnu60Hz_->setCheckable(true);
    mnuBackColor_ = mnuFile_->addAction(QStringLiteral("Change background color"));
    mnuBackColor_->setObjectName(QStringLiteral("mnuBackColor"));
    mnuFile_->addSeparator();
    mnuClose_ = mnuFile_->addAction(QStringLiteral("Exit"));
    mnuClose_->setObjectName(QStringLiteral("mnuClose"));
    new ReportActions(mnuFile_, mnuClose_, ViewTrace1_, this); // owned by this window
}

QFileDialog* frmView::CommonDialog1() {
    if (CommonDialog1_ != nullptr) {
        return CommonDialog1_;
    }
    CommonDialog1_ = new QFileDialog(this);
    CommonDialog1_->setObjectName(QStringLiteral("CommonDialog1"));
    CommonDialog1_->setOption(QFileDialog::DontUseNativeDialog);
    CommonDialog1_->setFileMode(QFileDialog::ExistingFile);
    CommonDialog1_->setAcceptMode(QFileDialog::AcceptOpen);
    CommonDialog1_->setNameFilters(
        {QStringLiteral("Viewer EEG Trace File (*.vwr)"),
         QStringLiteral("EDF and BDF recordings (*.edf *.bdf *.EDF *.BDF)"),
         QStringLiteral("All files (*.*)")});
    return CommonDialog1_;
}

QColorDialog* frmView::CommonDialogColor() {
    if (CommonDialogColor_ != nullptr) {
        return CommonDialogColor_;
    }
    CommonDialogColor_ = new QColorDialog(this);
    CommonDialogColor_->setObjectName(QStringLiteral("CommonDialogColor"));
    CommonDialogColor_->setOption(QColorDialog::DontUseNativeDialog);
    // Kept for the window's life: it starts from the colour it last held.
    CommonDialogColor_->setCurrentColor(dialogColour_);
    return CommonDialogColor_;
}

void frmView::connectEvents() {
    connect(cmbGain_, &QComboBox::activated, this, &frmView::cmbGain_Click);
    connect(cmbHighPass_, &QComboBox::activated, this, &frmView::cmbHighPass_Click);
    connect(cmbLowPass_, &QComboBox::activated, this, &frmView::cmbLowPass_Click);
    connect(cmbBaseTime_, &QComboBox::activated, this, &frmView::cmbBaseTime_Click);
    connect(cmbViewMode_, &QComboBox::activated, this, &frmView::cmbViewMode_Click);
    connect(hscroll1_, &MyScrollBar::change, this, &frmView::hscroll1_change);
    connect(AutoMove_, &QTimer::timeout, this, &frmView::AutoMove_Timer);
    connect(ViewTrace1_, &CViewerCtrl::DeleteNote, this, [this] { noteLabels_->hideAll(); });
    connect(ViewTrace1_, &CViewerCtrl::NoteNotification, this,
            [this](int16_t numNota, int32_t posPix, const QString& noteText) {
                noteLabels_->show(numNota, posPix, noteText);
            });
    connect(ViewTrace1_, &CViewerCtrl::CambiatoMontaggio, this,
            &frmView::ViewTrace1_CambiatoMontaggio);
    connect(mnuOpen_, &QAction::triggered, this, &frmView::mnuOpen_Click);
    connect(mnu50Hz_, &QAction::triggered, this, [this] { mnuNotch_Click(50); });
    connect(mnu60Hz_, &QAction::triggered, this, [this] { mnuNotch_Click(60); });
    connect(mnuBackColor_, &QAction::triggered, this, &frmView::mnuBackColor_Click);
    connect(mnuClose_, &QAction::triggered, this, &QWidget::close);
}

QAction* frmView::button(const QString& key) const {
    if (key.isEmpty()) {
        return nullptr;
    }
    for (QAction* action : Toolbar1_->actions()) {
        if (action->objectName() == key) {
            return action;
        }
    }
    return nullptr;
}

double frmView::twipsPerPixelX() const { return WindowPlacement::twipsPerPixelX(*this); }

double frmView::twipsPerPixelY() const { return WindowPlacement::twipsPerPixelY(*this); }

void frmView::beep() {
    if (beep_) {
        beep_();
    }
}

void frmView::layoutChildren() {
    const int innerWidth = clientArea_->width();
    const int innerHeight = clientArea_->height();
    const int toolbarHeight = Toolbar1_->sizeHint().height();
    Toolbar1_->setGeometry(0, 0, innerWidth, toolbarHeight);

    const int timeWidth =
        lblTime_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) + 24;
    lblTime_->setGeometry(0, innerHeight - kBottomStripPixels, timeWidth, kBottomStripPixels);
    hscroll1_->setGeometry(lblTime_->x() + lblTime_->width(), innerHeight - kBottomStripPixels,
                           innerWidth - lblTime_->width(), kBottomStripPixels);
    ViewTrace1_->setGeometry(0, toolbarHeight, innerWidth,
                             innerHeight - toolbarHeight - kBottomStripPixels);
    if (pctSync_->isVisibleTo(ViewTrace1_)) {
        pctSync_->resize(pctSync_->width(), ViewTrace1_->height());
    }
}

bool frmView::isKeyPreviewTarget(const QObject* watched) const {
    // A key travels from the focus widget up its parents; it is seen once, at the first of them.
    if (!watched->isWidgetType()) {
        return false;
    }
    const auto* widget = static_cast<const QWidget*>(watched);
    // Where text is typed (the notes filter), "+" and "-" are text.
    if (widget->window() != this || takesText(widget)) {
        return false;
    }
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->window() == this ? widget == focus : widget == this;
}

bool frmView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == clientArea_ && event->type() == QEvent::Resize && !isMinimized()) {
        layoutChildren();
    } else if (event->type() == QEvent::KeyPress && isKeyPreviewTarget(watched)) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1) {
            IncrDecrGainFromKeyAscii(text.at(0));
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmView::closeEvent(QCloseEvent* event) {
    savePlacement();
    if (button(QStringLiteral("video"))->isChecked()) {
        video_->close();
    }
    QMainWindow::closeEvent(event);
}

void frmView::Toolbar1_ButtonClick(QAction* action) {
    const QString key = action->objectName();
    if (key == QLatin1String("inizio")) {
        posInizioTrc();
    } else if (key == QLatin1String("notaPrec")) {
        CercaNotaPrec();
    } else if (key == QLatin1String("indietroAuto")) {
        IndietroAuto();
    } else if (key == QLatin1String("indietro")) {
        PaginaIndietro();
    } else if (key == QLatin1String("avanti")) {
        PaginaAvanti();
    } else if (key == QLatin1String("avantiAuto")) {
        AvantiAuto();
    } else if (key == QLatin1String("notaSuc")) {
        CercaNotaSucc();
    } else if (key == QLatin1String("fine")) {
        posFineTrc();
    } else if (key == QLatin1String("video")) {
        if (action->isChecked()) {
            video_->open(posSec_);
        } else {
            video_->close();
        }
    } else if (key == QLatin1String("notch")) {
        ApplicaNotch();
    }
}

void frmView::mnuOpen_Click() {
    noteLabels_->hideAll();
    if (CommonDialog1()->exec() != QDialog::Accepted) {
        return;
    }
    const QStringList chosen = CommonDialog1_->selectedFiles();
    if (!chosen.isEmpty()) {
        // Through the review tools: a file that is no recording is refused before the open
        // one is let go.
        review_->open(chosen.first());
    }
}

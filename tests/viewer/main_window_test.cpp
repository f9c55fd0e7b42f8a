// The main window: start-up and settings, its elements and layout, the display lists and what
// they hand to the trace control, the notch, the colour and file dialogs, the note labels,
// paging, automatic paging, note search and the reaction to a change of position.

#include "DisplayTables.h"
#include "Module1.h"
#include "viewer_fixture.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace viewer::testing {
namespace {

using MainWindow = ProgramTest;
const QString kVersion = QStringLiteral("    (Ver. 1.00.000)");
const QString kMicro = QString(QChar(0x00B5)) + "V/cm";

void choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}
std::vector<QString> texts(const QComboBox* list) {
    std::vector<QString> out;
    for (int i = 0; i < list->count(); ++i) {
        out.push_back(list->itemText(i) + "=" + list->itemData(i).toString());
    }
    return out;
}

TEST_F(MainWindow, StartsEmptyWithItsElementsInOrder) {
    start(QStringLiteral("x")); // a one-character argument counts as none
    frmView& w = window();
    EXPECT_EQ(w.windowTitle(), kVersion);
    EXPECT_FALSE(w.startedByLauncher());
    EXPECT_TRUE(w.traceFileName().isEmpty());
    EXPECT_FALSE(button("video").isEnabled());
    EXPECT_TRUE(w.mnu50Hz()->isChecked());
    EXPECT_EQ(w.cmbGain()->currentIndex(), -1) << "no value shown before a recording";
    EXPECT_EQ(w.minimumSize(), QSize(334, 334)); // 5000 twips

    std::vector<QString> keys; // "+" a checkable button, "?" one without a picture
    for (QAction* a : w.Toolbar1()->actions()) {
        QWidget* list = w.Toolbar1()->widgetForAction(a);
        keys.push_back(a->isSeparator()                          ? "|"
                       : qobject_cast<QComboBox*>(list)          ? list->objectName()
                       : a->isCheckable() && !a->icon().isNull() ? "+" + a->objectName()
                       : a->icon().isNull()                      ? "?" + a->objectName()
                                                                 : a->objectName());
    }
    EXPECT_EQ(keys, (std::vector<QString>{"inizio", "notaPrec", "+indietroAuto", "indietro",
                                          "avanti", "+avantiAuto", "notaSuc", "fine", "|", "|",
                                          "+video", "|", "+notch", "|", "cmbHighPass", "cmbLowPass",
                                          "cmbBaseTime", "cmbGain", "cmbViewMode"}));
    EXPECT_EQ(w.mnuBackColor()->text(), "Change background color");
    // The lists by count and one entry each, as text=value.
    const std::vector<QString> entries = {texts(w.cmbGain())[15], texts(w.cmbHighPass())[7],
                                          texts(w.cmbLowPass())[19], texts(w.cmbBaseTime())[11]};
    EXPECT_EQ(entries, (std::vector<QString>{"0005 mV/cm=5000", "00.530 Hz=530", "0175 Hz=17500",
                                             "12 sec=12"}));
    EXPECT_EQ((std::vector<QString>{
                  DisplayTables::gainText(1000000), DisplayTables::highPassText(0, QLocale::c()),
                  DisplayTables::highPassText(5300, QLocale(QLocale::Italian)),
                  DisplayTables::lowPassText(100), frmView::buildVersionText(2, 15, 7)}),
              (std::vector<QString>{"1000 mV/cm", "00.008 Hz", "05,300 Hz", "0001 Hz",
                                    "    (Ver. 2.15.007)"}));
    EXPECT_EQ(w.cmbGain()->count() + w.cmbHighPass()->count() + w.cmbLowPass()->count() +
                  w.cmbBaseTime()->count(),
              25 + 35 + 33 + 40 + 3)
        << "the 40 page lengths, then the time bases in mm/s";
    EXPECT_EQ(w.cmbBaseTime()->itemText(39), "40 sec");
}

TEST_F(MainWindow, TheCommandLineOpensTheRecordingThenClosesTheLauncher) {
    const QString path = write("rec with blanks.vwr", programRecording(30));
    // No display here, so the launcher's window cannot be found: the close was attempted.
    EXPECT_THROW(start(path), ViewerError);
    EXPECT_TRUE(window().startedByLauncher());
    EXPECT_EQ(trace().totalTrcSec(), 30);
    EXPECT_EQ(window().windowTitle(),
              "ROSSI MARIO " + trace().GetBirthDate() + "    " + path + kVersion);
    closeWindow();
    try {
        start('"' + path + '"'); // handed on with its quotes: the control refuses it
        ADD_FAILURE() << "the launcher window was not looked for";
    } catch (const ViewerError& e) {
        EXPECT_EQ(e.description(), "Can't find application to close");
    }
    EXPECT_TRUE(window().traceFileName().isEmpty());
    EXPECT_THROW(Module1::CloseWindowByTitle("StartViewer", false), ViewerError);
    EXPECT_NO_THROW(Module1::CloseWindowByTitle("StartViewer", true));
}

TEST_F(MainWindow, StoredSettingsAreAppliedOrTakeTheirDefaults) {
    const struct {
        const char *notch, *color, *names;
        int hertz;
        uint32_t back;
        bool title;
    } cases[] = {{"60", "255", "True", 60, 255, true},
                 {"55", "yellow", "False", 60, 12648447, false},
                 {"sixty", "", "perhaps", 50, 12648447, true}};
    for (const auto& c : cases) {
        closeWindow();
        setSetting("FrequenzaNotch", c.notch);
        setSetting("BackColor", c.color);
        setSetting("viewPatientName", c.names);
        setSetting("ViewWidth", "wide");
        setSetting("ViewLeft", "1500");
        open(programRecording(30));
        EXPECT_EQ(window().frequenzaNotch(), c.hertz);
        EXPECT_EQ(window().mnu60Hz()->isChecked(), c.hertz == 60);
        EXPECT_EQ(trace().BackColor(), c.back);
        EXPECT_EQ(window().windowTitle().startsWith("ROSSI MARIO"), c.title);
        EXPECT_EQ(window().width(), 667) << "10000 twips";
        EXPECT_EQ(window().x(), 100);
        click("notch"); // the button agrees with the check mark
        EXPECT_EQ(trace().recording().currentMontage.notch, c.hertz == 60 ? 2 : 1);
    }
}

TEST_F(MainWindow, LayoutFocusAndPlacement) {
    setSetting("ViewLeft", "3000");
    setSetting("ViewTop", "1500");
    setSetting("ViewWidth", "12000");
    setSetting("ViewHeight", "9000");
    start();
    EXPECT_EQ(window().pos(), QPoint(200, 100));
    EXPECT_EQ(window().size(), QSize(800, 600));
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    window().setGeometry(QRect(300, 120, 900, 640));
    QApplication::processEvents();
    const int innerW = window().centralWidget()->width();
    const int innerH = window().centralWidget()->height();
    const int barH = scroll().height();
    const int toolH = window().Toolbar1()->height();
    EXPECT_EQ(scroll().geometry(), QRect(window().lblTime()->width(), innerH - barH,
                                         innerW - window().lblTime()->width(), barH));
    EXPECT_EQ(trace().geometry(), QRect(0, toolH, innerW, innerH - toolH - barH));
    window().resize(100, 700);
    QApplication::processEvents();
    EXPECT_EQ(window().width(), 334) << "a minimum size, not a resize";

    trace().setFocus(); // the trace control hands the focus to the scroll bar
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == &scroll() || scroll().isAncestorOf(focus));

    window().resize(900, 640);
    QApplication::processEvents();
    const QPoint pos = window().pos();
    window().mnuClose()->trigger();
    EXPECT_EQ(setting("ViewWindowState"), "0");
    EXPECT_EQ(setting("ViewLeft"), QString::number(pos.x() * 15));
    EXPECT_EQ(setting("ViewWidth"), "13500");
    EXPECT_EQ(setting("ViewHeight"), "9600");

    closeWindow();
    setSetting("ViewWindowState", "2");
    start();
    EXPECT_TRUE(window().isMaximized());
    window().show();
    window().close();
    EXPECT_EQ(setting("ViewWindowState"), "2");
    EXPECT_EQ(setting("ViewWidth"), "13500") << "a maximised window stores only its state";
}

TEST_F(MainWindow, TheListsFollowTheRecordingAndHandTheirValuesToTheControl) {
    open(montageRecording(60, true));
    frmView& w = window();
    EXPECT_EQ(
        texts(w.cmbViewMode()),
        (std::vector<QString>{"As recorded=100", "All lines recorded=101", " 1-Longitudinal=0",
                              " 2-Referential=1", "Standard montages=-1", " Double banana=1000",
                              " Transverse=1001", " Common average=1002", " Linked ears=1003",
                              " Laplacian=1004"}));
    EXPECT_TRUE(trace().gratis());
    EXPECT_EQ(w.cmbGain()->currentText(), "0100 " + kMicro) << "the history montage's settings";
    EXPECT_EQ(w.cmbHighPass()->currentData().toInt(), 530);
    EXPECT_EQ(w.cmbLowPass()->currentData().toInt(), 7000);
    scroll().setValue(20);

    const struct {
        QComboBox* list;
        QString text;
        std::function<double()> value;
        double expected;
    } cases[] = {{w.cmbGain(), "0500 " + kMicro, [this] { return trace().GetGainEEG(); }, 500},
                 {w.cmbHighPass(), DisplayTables::highPassText(1600),
                  [this] { return trace().GetHighFilterEEG(); }, 1600},
                 {w.cmbLowPass(), "0175 Hz", [this] { return trace().GetLowFilterEEG(); }, 17500},
                 {w.cmbBaseTime(), "20 sec", [this] { return scroll().largeChange(); }, 20},
                 {w.cmbViewMode(), " 2-Referential", [this] { return trace().numMont(); }, 31},
                 {w.cmbViewMode(), "All lines recorded", [this] { return trace().numMont(); }, 32},
                 {w.cmbGain(), "0200 " + kMicro, [this] { return trace().GetGainEEG(); }, 200},
                 {w.cmbViewMode(), " 1-Longitudinal", [this] { return trace().GetGainEEG(); }, 100},
                 {w.cmbViewMode(), "As recorded", [this] { return trace().gratis(); }, 1}};
    for (const auto& c : cases) {
        const int before = draws;
        choose(c.list, c.text);
        EXPECT_EQ(c.value(), c.expected) << c.text.toStdString();
        EXPECT_GT(draws, before) << c.text.toStdString();
        EXPECT_EQ(trace().recording().pageStart, 20 * 256) << "the page position is kept";
    }
    const QString shown = w.cmbBaseTime()->currentText() + w.cmbGain()->currentText();
    w.ImpostaComboBaseTime(41); // lengths and gains without an entry leave the shown one
    w.ImpostaComboGain(300);
    EXPECT_EQ(w.cmbBaseTime()->currentText() + w.cmbGain()->currentText(), shown);
    trace().SetSecNumber(12.5f); // a half second rounds to the even one
    trace().SetNotchFilter(2);
    emit trace().CambiatoMontaggio();
    EXPECT_EQ(w.cmbBaseTime()->currentText(), "12 sec");
    EXPECT_TRUE(button("notch").isChecked());
    EXPECT_EQ(trace().recording().currentMontage.notch, 2) << "the notch action did not run";

    closeWindow();
    open(montageRecording(60, false));
    EXPECT_EQ(texts(window().cmbViewMode())[0], "All lines recorded=101");
    EXPECT_EQ(trace().numMont(), 32);
    EXPECT_EQ(trace().GetGainEEG(), 200);
    closeWindow();
    open(programRecording(60));
    EXPECT_EQ(window().cmbViewMode()->count(), 7) << "all lines, then the standard montages";
    EXPECT_EQ(trace().numMont(), 30);
}

TEST_F(MainWindow, TheNotchMenuStoresTheFrequencyForTheNextPressOfTheButton) {
    open(programRecording(60));
    const auto notch = [this] { return trace().recording().currentMontage.notch; };
    click("notch");
    window().mnu60Hz()->trigger(); // the running filter left alone
    EXPECT_EQ(notch(), 1);
    click("notch");
    click("notch");
    EXPECT_EQ(notch(), 2);
    EXPECT_EQ(setting("FrequenzaNotch"), "60");
    window().mnu50Hz()->trigger();
    window().mnu50Hz()->trigger(); // choosing the checked item keeps it checked
    EXPECT_EQ(std::pair(window().mnu50Hz()->isChecked(), window().mnu60Hz()->isChecked()),
              std::pair(true, false));
    EXPECT_EQ(setting("FrequenzaNotch"), "50");
}

TEST_F(MainWindow, GainKeysStepTheGainWhicheverElementHasTheFocusAndBeepAtTheEnds) {
    open(montageRecording(60, false));
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    const auto press = [](char key) {
        QTest::keyClicks(QApplication::focusWidget(), QString(QLatin1Char(key)));
    };
    scroll().setFocus();
    press('+');
    EXPECT_EQ(window().cmbGain()->currentText(), "0150 " + kMicro);
    press('-');
    window().cmbLowPass()->setFocus();
    press('-');
    press('x');
    EXPECT_EQ(trace().GetGainEEG(), 400);
    window().ImpostaComboGain(1);
    const int before = draws;
    press('+');
    EXPECT_EQ(trace().GetGainEEG(), 1);
    EXPECT_GT(draws, before) << "still redrawn";
    window().ImpostaComboGain(1000000);
    press('-');
    EXPECT_EQ(trace().GetGainEEG(), 1000000);
    EXPECT_EQ(beeps, 2);
}

TEST_F(MainWindow, DialogsChooseTheColourAndTheFile) {
    start();
    QColorDialog* colours = window().CommonDialogColor();
    for (const bool accept : {true, false}) {
        QTimer::singleShot(0, colours, [colours, accept] {
            colours->setCurrentColor(accept ? QColor(10, 20, 30) : QColor(200, 200, 200));
            accept ? colours->accept() : colours->reject();
        });
        window().mnuBackColor()->trigger();
        EXPECT_EQ(trace().BackColor(), 0x1E140Au);
        EXPECT_EQ(setting("BackColor"), QString::number(0x1E140A));
    }

    const QString path = write("chosen.vwr", montageRecording(45, true));
    emit trace().NoteNotification(0, 40, "Eyes closed");
    QFileDialog* files = window().CommonDialog1();
    EXPECT_EQ(files->nameFilters(),
              (QStringList{"Viewer EEG Trace File (*.vwr)",
                           "EDF and BDF recordings (*.edf *.bdf *.EDF *.BDF)", "All files (*.*)"}));
    QTimer::singleShot(0, files, [files, path] {
        files->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        static_cast<QDialog*>(files)->accept(); // QFileDialog's own accept checks the file
    });
    window().mnuOpen()->trigger();
    EXPECT_EQ(window().traceFileName(), path);
    EXPECT_EQ(trace().totalTrcSec(), 45);
    EXPECT_TRUE(window().lblNota(0)->isHidden());
}

TEST_F(MainWindow, NoteLabelsTakeTheSecondRowWhenTheyOverlapTheOneBefore) {
    start();
    frmView& w = window();
    EXPECT_EQ(w.lblNota(0)->parentWidget(), &trace());
    EXPECT_TRUE(w.lblNota(0)->font().bold());
    EXPECT_EQ(w.lblNota(0)->palette().color(QPalette::WindowText), QColor(Qt::red));
    emit trace().NoteNotification(0, 100, "  Eyes closed  ");
    EXPECT_EQ(w.lblNota(0)->text(), "Eyes closed");
    const int width = w.lblNota(0)->width();
    const int row = w.lblNota(0)->height();
    // Inside the one before, inside one not on the top row, touching (-1), clear of it.
    const std::pair<int, int> offsetAndRow[] = {{width - 5, 1}, {3, 0}, {-1, 1}, {2000, 0}};
    for (int16_t i = 1; i <= 4; ++i) {
        const auto [offset, rowNumber] = offsetAndRow[i - 1];
        const QLabel* prev = w.lblNota(i - 1);
        const int x = prev->x() + (offset == -1 ? prev->width() : offset);
        emit trace().NoteNotification(i, x, QStringLiteral("Note %1").arg(i));
        EXPECT_EQ(w.lblNota(i)->pos(), QPoint(x, rowNumber * row)) << i;
    }
    for (int16_t i = 5; i < 12; ++i) {
        emit trace().NoteNotification(i, 2000, QStringLiteral("late %1").arg(i));
    }
    EXPECT_EQ(w.lblNota(9)->text(), "late 9");
    EXPECT_EQ(trace().findChildren<QLabel*>("lblNota").size(), 10) << "ten labels only";
    emit trace().DeleteNote();
    EXPECT_TRUE(w.lblNota(0)->isHidden());
    EXPECT_TRUE(w.lblNota(9)->isHidden());
    emit trace().NoteNotification(6, 100, "Alone"); // the one before hidden: top row
    EXPECT_EQ(w.lblNota(6)->y(), 0);
}

TEST_F(MainWindow, APageStepPaintsTheTracesOnceWithTheirNoteLabels) {
    RecordingDescription d = programRecording(60);
    d.notes = {note(12 * 256, "one"), note(13 * 256, "two"), note(25 * 256, "three")};
    open(d);
    window().resize(800, 600);
    window().show();
    QApplication::processEvents();
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } count;
    trace().installEventFilter(&count);
    // Labels appearing, moving with the page, replaced, all gone.
    for (const int second : {10, 11, 20, 0}) {
        count.paints = 0;
        scroll().setValue(second);
        QApplication::processEvents();
        EXPECT_EQ(count.paints, 1) << second;
        EXPECT_EQ(window().lblNota(0)->isVisible(), second != 0) << second;
    }
}

using Navigation = ProgramTest;

TEST_F(Navigation, PagingAutomaticPagingAndNoteSearch) {
    const struct {
        const char* what;
        double seconds;
        std::vector<double> notes; // seconds
        int from;
        std::vector<const char*> buttons;
        std::vector<double> positions; // reported by the scroll bar, in order
        int beeps;
    } cases[] = {
        {"back", 60, {}, 25, {"indietro"}, {15}, 0},
        {"back below 0", 60, {}, 3, {"indietro"}, {0}, 1},
        {"forward", 60, {}, 25, {"avanti"}, {35}, 0},
        {"past the last page start", 60, {}, 45, {"avanti"}, {50}, 0},
        {"end and start", 65, {}, 0, {"fine", "inizio"}, {55, 0}, 0},
        {"shorter than a page", 4, {}, 0, {"fine", "avanti"}, {0}, 1},
        {"automatic back", 60, {}, 25, {"indietroAuto"}, {15, 5, 0}, 1},
        // The page at 45 reaches half a second past the data: drawn with filler, the last.
        {"automatic forward", 54.5, {}, 25, {"avantiAuto"}, {35, 45}, 1},
        {"automatic, shorter than a page", 4, {}, 0, {"avantiAuto"}, {}, 1},
        {"next", 120, {5, 30, 30.5, 70}, 0, {"notaSuc", "notaSuc", "notaSuc"}, {5, 30, 70}, 0},
        {"no next note", 120, {5, 30, 70}, 70, {"notaSuc"}, {}, 1},
        {"next note on the last page", 120, {115}, 0, {"notaSuc", "notaSuc"}, {110, 110}, 0},
        {"previous notes", 120, {5, 30, 70}, 30, {"notaPrec", "notaPrec"}, {5}, 1},
        {"previous note", 120, {5, 30, 70}, 100, {"notaPrec"}, {70}, 0},
        {"a note on sample 0", 120, {0, 20}, 50, {"notaSuc", "notaPrec"}, {}, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        closeWindow();
        beeps = 0;
        RecordingDescription d = programRecording(0);
        d.frames = static_cast<int64_t>(c.seconds * 256);
        for (double at : c.notes) {
            d.notes.push_back(note(static_cast<int32_t>(at * 256), "n"));
        }
        open(d);
        scroll().setValue(c.from);
        std::vector<double> positions;
        QObject::connect(&scroll(), &MyScrollBar::change, &scroll(),
                         [&] { positions.push_back(scroll().Value()); });
        for (const char* b : c.buttons) {
            click(b);
            if (QString(b).endsWith("Auto")) {
                EXPECT_EQ(window().AutoMove()->interval(), 200);
                EXPECT_TRUE(button(b).isChecked());
                ASSERT_TRUE(QTest::qWaitFor([this] { return !window().AutoMove()->isActive(); }));
                EXPECT_FALSE(button(b).isChecked());
            }
        }
        EXPECT_EQ(positions, c.positions);
        EXPECT_EQ(window().posSec(), positions.empty() ? c.from : positions.back());
        EXPECT_EQ(beeps, c.beeps);
    }
}

TEST_F(Navigation, OneDirectionOfAutomaticPagingAtATime) {
    open(programRecording(60));
    scroll().setValue(30);
    for (const auto& [pressed, released] :
         {std::pair{"avantiAuto", "indietroAuto"}, std::pair{"indietroAuto", "avantiAuto"}}) {
        click(pressed);
        EXPECT_TRUE(button(pressed).isChecked());
        EXPECT_FALSE(button(released).isChecked()) << pressed << " releases " << released;
        EXPECT_TRUE(window().AutoMove()->isActive());
    }
    click("indietroAuto");
    EXPECT_FALSE(window().AutoMove()->isActive());
    EXPECT_EQ(beeps, 0);
}

TEST_F(Navigation, APositionChangeShowsItsTimeAndAFailedOpenKeepsTheRecording) {
    start();
    window().lblTime()->setText("kept");
    scroll().setValue(0);
    EXPECT_EQ(window().lblTime()->text(), "kept") << "no recording: no time";

    window().OpenTrace(write("rec.vwr", montageRecording(60, true)));
    scroll().setValue(25.4);
    EXPECT_EQ(window().posSec(), 25);
    EXPECT_TRUE(window().lblTime()->text().contains("09:30:25"));

    const QString title = window().windowTitle();
    window().OpenTrace(recordings.file("missing.vwr").c_str());
    EXPECT_EQ(window().traceFileName(), recordings.file("rec.vwr").c_str());
    EXPECT_EQ(window().windowTitle(), title);
    EXPECT_EQ(window().cmbViewMode()->count(), 10);
    EXPECT_EQ(scroll().max(), 60);
    EXPECT_EQ(window().posSec(), 0) << "the position went back to 0";
}

// Records the page changes the video window is told about and, at the first one, lets two
// more position changes arrive while the handler lets pending events run.
struct VideoSpy : VideoWindowLink {
    explicit VideoSpy(MyScrollBar& bar) : bar(bar) {}
    void pageChanged(int posSec) override {
        changes.push_back(posSec);
        if (changes.size() == 1) {
            QTimer::singleShot(0, &bar, [this] { bar.setValue(20); });
            QTimer::singleShot(0, &bar, [this] { bar.setValue(30); });
        }
    }
    MyScrollBar& bar;
    std::vector<int> changes;
};

TEST_F(Navigation, AChangeArrivingWhileOneIsHandledWaitsAndOnlyTheLatestIsHandled) {
    RecordingDescription d = programRecording(60);
    d.videoFlag = true;
    open(d);
    auto spy = std::make_unique<VideoSpy>(scroll());
    const std::vector<int>& changes = spy->changes;
    window().setVideoLink(std::move(spy));
    click("video");
    scroll().setValue(10);
    EXPECT_EQ(changes, (std::vector<int>{10, 30}));
    EXPECT_EQ(window().posSec(), 30);
    EXPECT_TRUE(window().lblTime()->text().contains("09:30:30"));
    click("video");
    scroll().setValue(40);
    EXPECT_EQ(changes.size(), 2u) << "no video step while the button is up";
}

} // namespace
} // namespace viewer::testing

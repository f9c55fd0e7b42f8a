// The review tools on a real main window: keys and wheel against the scroll bar, the ruler
// against GetPixelPosition, the notes panel, the measurement against the drawn page, drops.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "edf_writer.h"
#include "export/EdfExportMenu.h"
#include "frmView.h"
#include "montage_recordings.h"
#include "page_files.h"
#include "recording_writer.h"
#include "review/DataEndMark.h"
#include "review/GoToTime.h"
#include "review/MeasureOverlay.h"
#include "review/NotesPanel.h"
#include "review/RecentFiles.h"
#include "review/ReviewTools.h"
#include "review/TimeRuler.h"
#include "review_window.h"
#include "temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <thread>

// Freed memory is filled, so that library code (not instrumented) reading an object deleted
// under it fails at once instead of reading what happens to be left there.
extern "C" const char* __asan_default_options() { return "max_free_fill_size=4096"; }

namespace viewer::testing {
namespace {

TEST_F(ReviewWindowTest, EachKeyMovesTheScrollBarAsItsCommandDoes) {
    drop(write(recording(60)));
    ASSERT_EQ(scroll().max(), 60);
    trace().setFocus(); // as a click on the traces does
    const int wheelUp = -1;
    const int wheelDown = -2;
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        double atStart, atMiddle, atEnd; // Value after the key from 0, 30 and 50
    };
    const Case cases[] = {
        {Qt::Key_PageDown, Qt::NoModifier, 10, 40, 50},
        {Qt::Key_Space, Qt::NoModifier, 10, 40, 50},
        {Qt::Key_PageUp, Qt::NoModifier, 0, 20, 40},
        {Qt::Key_Space, Qt::ShiftModifier, 0, 20, 40},
        {Qt::Key_Right, Qt::NoModifier, 1, 31, 50},
        {Qt::Key_Left, Qt::NoModifier, 0, 29, 49},
        {Qt::Key_Right, Qt::ControlModifier, 12, 42, 50},
        {Qt::Key_Left, Qt::ControlModifier, 0, 12, 42},
        {Qt::Key_Home, Qt::NoModifier, 0, 0, 0},
        {Qt::Key_End, Qt::NoModifier, 50, 50, 50},
        {wheelDown, Qt::NoModifier, 10, 40, 50},
        {wheelUp, Qt::NoModifier, 0, 20, 40},
    };
    for (const Case& c : cases) {
        const double from[] = {0, 30, 50};
        const double expected[] = {c.atStart, c.atMiddle, c.atEnd};
        for (int i = 0; i < 3; ++i) {
            scroll().setValue(from[i]);
            if (c.key < 0) {
                QWheelEvent wheel(QPointF(300, 100), QPointF(300, 100), {},
                                  {0, c.key == wheelUp ? 120 : -120}, Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(&win().review().overlay(), &wheel);
            } else {
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus ? focus : &win(), static_cast<Qt::Key>(c.key), c.modifiers);
            }
            EXPECT_EQ(scroll().Value(), expected[i]) << c.key << " from " << from[i];
            EXPECT_EQ(win().posSec(), expected[i]) << c.key << " from " << from[i];
        }
    }
    // A drop-down list with the focus keeps its keys.
    win().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
    win().cmbGain()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), win().cmbGain());
    scroll().setValue(30);
    QTest::keyClick(win().cmbGain(), Qt::Key_PageDown);
    EXPECT_EQ(scroll().Value(), 30);
}

TEST_F(ReviewWindowTest, RulerTicksSitAtTheControlsSecondsWithoutTouching) {
    drop(write(recording(60)));
    int steps[2] = {};
    for (const int width : {1200, 400}) {
        resize(width);
        scroll().setValue(23);
        const TimeRuler& ruler = win().review().ruler();
        const int labelWidth = ruler.fontMetrics().horizontalAdvance("00:00:00");
        size_t n = 0;
        for (int k = 0; k <= 10; ++k) {
            const int32_t clock = trace().GetMont(23 + k);
            if (clock % ruler.step() != 0) {
                continue;
            }
            ASSERT_LT(n, ruler.ticks().size());
            EXPECT_EQ(ruler.ticks()[n].x, trace().GetPixelPosition(k * 1000));
            EXPECT_EQ(ruler.ticks()[n].text, clockText(clock));
            if (n > 0) {
                EXPECT_GT(ruler.ticks()[n].x - ruler.ticks()[n - 1].x, labelWidth) << width;
            }
            ++n;
        }
        EXPECT_EQ(n, ruler.ticks().size()) << width;
        steps[width == 400 ? 1 : 0] = ruler.step();
    }
    EXPECT_EQ(steps[0], 1);
    EXPECT_GT(steps[1], 1); // 10 s over less than 400 pixels
}

TEST_F(ReviewWindowTest, NotesPanelListsEveryNoteAndJumpsLikeNextNote) {
    for (const uint8_t type : {uint8_t{4}, uint8_t{1}}) {
        drop(write(recording(60, type), "rec" + std::to_string(type) + ".vwr"));
        NotesPanel& notes = win().review().notes();
        const std::vector<NoteRow> rows = noteRows(trace());
        ASSERT_EQ(rows.size(), 2U) << int{type};
        // Type 1 keeps notes in whole seconds.
        EXPECT_EQ(rows[0].seconds, type == 4 ? 12.5F : 12.0F);
        EXPECT_EQ(rows[0].clock, "09:30:12");
        EXPECT_EQ(rows[1].elapsed, "0:00:42");
        EXPECT_EQ(rows[0].text, "Eyes closed");
        EXPECT_EQ(rows[1].text, "Photic 10 Hz");
        NotesModel& model = notes.model();
        ASSERT_EQ(model.rowCount(), 2);
        // Enter on the second note: the page starts at 42 s and that note is highlighted.
        notes.list()->setCurrentIndex(model.index(1, 0));
        QTest::keyClick(notes.list(), Qt::Key_Return);
        EXPECT_EQ(scroll().Value(), 42);
        EXPECT_TRUE(model.index(1, 0).data(Qt::BackgroundRole).isValid());
        EXPECT_FALSE(model.index(0, 0).data(Qt::BackgroundRole).isValid());
        // After the jump the page keys page, not the list.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        EXPECT_EQ(scroll().Value(), 32);
        // Enter in the filter: the first note it lets through; "+" there is text, not gain.
        notes.filter()->setFocus();
        QTest::keyClicks(notes.filter(), "+photic");
        EXPECT_EQ(notes.filter()->text(), "+photic");
        EXPECT_EQ(trace().GetGainEEG(), 200);
        notes.filter()->setText("photic");
        ASSERT_EQ(model.rowCount(), 1);
        EXPECT_EQ(model.listed(0).text, "Photic 10 Hz");
        scroll().setValue(0);
        QTest::keyClick(notes.filter(), Qt::Key_Return);
        EXPECT_EQ(scroll().Value(), 42);
        notes.filter()->clear();
    }
    EXPECT_EQ(noteJumpTarget(55.9F, 50), 50); // a note on the last page: the last full page
    // Shown at exit is what is stored, though closing the window hides the panel.
    win().close();
    EXPECT_EQ(QSettings(QSettings::IniFormat, QSettings::UserScope, "Viewer", "Viewer")
                  .value("Review/ShowNotes"),
              "true");
}

TEST_F(ReviewWindowTest, TheReadoutIsTheValueDrawnAtThePointerForOneLine) {
    drop(write(recording(60)));
    const int32_t row = trace().rowCentre()[0];
    const double pixelsPerCm = 1080 * 10 / 200.0;
    const QImage& page = trace().pageLayer();
    int columns = 0;
    for (int x = trace().GetMaxLarghEtichette() + 3; x < page.width(); x += 7, ++columns) {
        const PointReading r = readAt(trace(), win().posSec(), QPoint(x, row));
        ASSERT_TRUE(r.valid) << x;
        EXPECT_EQ(r.line, 0);
        EXPECT_TRUE(r.label.contains("Fp1")) << r.label.toStdString();
        // The drawn point of that sample, from the microvolts back through the gain (the
        // pixel beside it when rounding differs).
        const int y =
            row - static_cast<int>(std::trunc(r.microvolts * pixelsPerCm / trace().GetGainEEG()));
        bool lit = false;
        for (int dy = -1; dy <= 1; ++dy) {
            lit = lit || (page.valid(x, y + dy) && page.pixel(x, y + dy) == qRgb(0, 0, 0));
        }
        EXPECT_TRUE(lit) << "x " << x << " y " << y << " " << r.microvolts << " uV";
    }
    EXPECT_GT(columns, 100);
    const PointReading at0 = readAt(trace(), 0, QPoint(trace().GetMaxLarghEtichette(), row));
    EXPECT_TRUE(readoutText(at0).startsWith("09:30:00.000   +0.000 s"))
        << readoutText(at0).toStdString();
}

TEST_F(ReviewWindowTest, ARefusedFileLeavesTheOpenRecordingWholeAndOpenWarningsNameTheFault) {
    const QString good = write(recording(20));
    drop(good);
    EXPECT_EQ(win().traceFileName(), good);
    EXPECT_EQ(RecentFiles::load().value(0), good);
    EXPECT_EQ(scroll().max(), 20);
    scroll().setValue(5);
    const QString title = win().windowTitle();

    const std::string text = files.file("notes.txt");
    std::ofstream(text) << std::string(300, 'x');
    drop(QString::fromStdString(text));
    EXPECT_TRUE(win().review().statusMessage().contains("not a recording"))
        << win().review().statusMessage().toStdString();
    auto* box = win().findChild<QMessageBox*>("openRefusal");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("not a recording"));
    box->close();
    // The recording on screen stays open, named and shown as it was.
    EXPECT_EQ(win().traceFileName(), good);
    EXPECT_EQ(win().windowTitle(), title);
    EXPECT_TRUE(trace().recording().isOpen());
    EXPECT_EQ(win().posSec(), 5);
    EXPECT_EQ(win().review().notes().model().rowCount(), 2);
    EXPECT_FALSE(win().review().ruler().ticks().empty());
    EXPECT_FALSE(win().lblNota(0)->isHidden()); // "Eyes closed" at 12.5 s

    // Notes up to 42 s in a file of no data; a label of control bytes.
    RecordingDescription cut = recording(0);
    cut.electrodes[2].positiveLabel = {'F', '\x01', '\x7f', 0, 0, 0};
    drop(write(cut, "cut.vwr"));
    EXPECT_EQ(win().review().statusMessage(),
              "cut.vwr opened, but the file ends after 0 s of the 43 s its header gives; and its "
              "electrode table looks damaged: the label of channel 2 holds bytes that are not "
              "text.");
    EXPECT_EQ(RecentFiles::load().size(), 2);
}

TEST_F(ReviewWindowTest, AnEdfFileShowsEveryNoteOnceReadAfterItsFirstPageAndARefusedOneIsNamed) {
    viewer::testing::EdfDescription d;
    d.annotationBytes = 60;
    viewer::testing::writeEdf(files.file("empty.edf"), d);
    drop(QString::fromStdString(files.file("empty.edf")));
    EXPECT_EQ(win().review().statusMessage(),
              "Not opened: empty.edf is an EDF file that cannot be shown: it holds only "
              "annotations, no signal to draw.");
    d.channels = {{"EEG Fp1-REF"}}, d.channels[0].samplesPerRecord = 16, d.records = 3000;
    d.tals = [](int64_t r) { return viewer::testing::tal(r + 0.5, 2, "n" + std::to_string(r)); };
    viewer::testing::writeEdf(files.file("long.edf"), d);
    drop(QString::fromStdString(files.file("long.edf")));
    EXPECT_TRUE(win().ViewTrace1()->recording().isOpen());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return win().review().notes().model().rowCount() == 3000; }));
    EXPECT_EQ(trace().noteText(2999), "n2999 (2 s)");
    EXPECT_FLOAT_EQ(trace().GetPosNote(2999), 2999.5f);
}

TEST_F(ReviewWindowTest, ALastPageRunningPastTheDataMarksWhereTheyEnd) {
    RecordingDescription d = recording(24);
    d.frames = 23 * 256 + 128; // 23.5 s: the last page (14 s to 24 s) ends 0.5 s after the data
    drop(write(d));
    EXPECT_EQ(win().review().dataEnd().column(), -1);
    scroll().setValue(24); // the last page
    ASSERT_EQ(win().posSec(), 14);
    EXPECT_EQ(dataEndOnPage(trace()), 9500);
    EXPECT_EQ(win().review().dataEnd().column(), trace().GetPixelPosition(9500));
    scroll().setValue(10);
    EXPECT_EQ(win().review().dataEnd().column(), -1);
}

TEST_F(ReviewWindowTest, AMeasurementReadsTheLineWhereTheDragBegan) {
    drop(write(recording(60)));
    MeasureOverlay& overlay = win().review().overlay();
    const std::vector<int32_t>& rows = trace().rowCentre();
    const int x0 = trace().GetMaxLarghEtichette() + 40;
    const int x1 = x0 + 37;
    // The drag ends on the next line's row.
    const QPoint from(x0, rows[0]);
    const QPoint to(x1, rows[1]);
    ASSERT_EQ(readAt(trace(), 0, to).line, 1);
    QTest::mousePress(&overlay, Qt::RightButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, overlay.mapToGlobal(to), Qt::NoButton, Qt::RightButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&overlay, &move);
    const double delta = trace().lineMicrovolts(0, trace().sampleAtPixel(x1)) -
                         trace().lineMicrovolts(0, trace().sampleAtPixel(x0));
    ASSERT_GT(std::abs(delta), 1.0);
    EXPECT_TRUE(overlay.lastText().endsWith(
        QStringLiteral("ΔA %1 µV on %2").arg(delta, 0, 'f', 1).arg(trace().lineLabel(0))))
        << overlay.lastText().toStdString();
    QTest::mouseRelease(&overlay, Qt::RightButton, {}, to);
}

TEST_F(ReviewWindowTest, PageKeysPageOnOpeningAndAfterAChoiceFromAToolBarList) {
    drop(write(recording(60)));
    win().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&win()));
    QComboBox& list = *win().cmbHighPass();
    const int filter = list.currentIndex();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(scroll().Value(), 10) << "the window opens with the keys on the traces";
    EXPECT_EQ(list.currentIndex(), filter);
    scroll().setValue(0);
    QTest::mouseClick(&list, Qt::LeftButton);
    QAbstractItemView& popup = *list.view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup.window()));
    const QRect entry = popup.visualRect(list.model()->index(5, 0));
    // The list ignores a release that follows its opening press too closely.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseMove(popup.viewport(), entry.center());
    QTest::mouseClick(popup.viewport(), Qt::LeftButton, {}, entry.center());
    ASSERT_EQ(list.currentIndex(), 5);
    EXPECT_EQ(trace().GetHighFilterEEG(), list.currentData().toInt());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    EXPECT_EQ(scroll().Value(), 10);
    EXPECT_EQ(list.currentIndex(), 5);
}

TEST_F(ReviewWindowTest, PrintedPagesAcrossAMontageChangeAreThePagesOfTheirNumbers) {
    // "History 0" from the start, "History 1" from 25 s; the page on screen at 40 s.
    drop(write(historyRecording({0, 25 * 500}, 500, 60)));
    scroll().setValue(40);
    ASSERT_EQ(trace().lineCount(), 2) << "History 1 has two lines";
    QPdfWriter pdf(QString::fromStdString(files.file("printed.pdf")));
    const std::vector<PrintedPage> pages = printPages(trace(), pdf, 10, 4); // pages 2 to 5
    ASSERT_EQ(pages.size(), 4U);
    for (size_t i = 0; i < pages.size(); ++i) {
        const int32_t start = 10 + static_cast<int32_t>(i) * 10;
        EXPECT_EQ(pages[i].start, start);
        EXPECT_EQ(pages[i].header.clock, clockText(trace().GetMont(start)));
        EXPECT_EQ(pages[i].header.montage, start < 30 ? "History 0" : "History 1") << start;
    }
    // The page on screen did not move.
    EXPECT_EQ(win().posSec(), 40);
    EXPECT_EQ(trace().pageStartSecond(), 40);
    EXPECT_EQ(trace().pageHeader().montage, "History 1");
}

TEST_F(ReviewWindowTest, AnExportEndsOnceWithItsProgressReportsStillQueued) {
    // Four channels: a chunk of the converter is 1280 s, so a report every 1280 s.
    const QString path = write(recording(3900));
    drop(path);
    auto* menu = win().findChild<EdfExportMenu*>();
    ASSERT_NE(menu, nullptr);
    std::vector<edf::ExportResult::Outcome> ends;
    QObject::connect(menu, &EdfExportMenu::finished,
                     [&ends](edf::ExportResult::Outcome o, const QString&) { ends.push_back(o); });
    auto rec = std::make_unique<Recording>();
    ASSERT_TRUE(openRecording(*rec, path.toStdString()));
    edf::ExportRequest request;
    request.output = files.file("out.edf");
    menu->start(std::move(rec), request);
    // Every report and the end are queued behind each other before any is handled; the
    // dialog's setValue lets events run, the end among them.
    while (!menu->workerEnded()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    QTRY_COMPARE(ends.size(), 1U);
    EXPECT_EQ(ends[0], edf::ExportResult::Outcome::Written);
    EXPECT_FALSE(menu->running());
    EXPECT_EQ(win().findChild<QProgressDialog*>("EdfExportProgress"), nullptr);
}

} // namespace
} // namespace viewer::testing

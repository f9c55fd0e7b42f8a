// The review tools on a real main window: keys and wheel against the scroll bar, the ruler
// against GetPixelPosition, the notes panel, the measurement against the drawn page, drops.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "frmView.h"
#include "recording_writer.h"
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
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

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
        notes.filter()->setText("photic");
        ASSERT_EQ(model.rowCount(), 1);
        EXPECT_EQ(model.listed(0).text, "Photic 10 Hz");
        notes.filter()->clear();
    }
    EXPECT_EQ(noteJumpTarget(55.9F, 50), 50); // a note on the last page: the last full page
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

TEST_F(ReviewWindowTest, DroppedFilesOpenLikeFileOpenAndRefusalsSaySoInTheStatusBar) {
    const QString good = write(recording(20));
    drop(good);
    EXPECT_EQ(win().traceFileName(), good);
    EXPECT_EQ(RecentFiles::load().value(0), good);
    EXPECT_EQ(scroll().max(), 20);

    const std::string text = files.file("notes.txt");
    std::ofstream(text) << std::string(300, 'x');
    drop(QString::fromStdString(text));
    EXPECT_EQ(win().traceFileName(), good);
    EXPECT_TRUE(win().review().statusMessage().contains("not a recording"))
        << win().review().statusMessage().toStdString();

    drop(write(recording(0), "empty.vwr"));
    EXPECT_TRUE(win().review().statusMessage().contains("no data (length 0 s)"));
    EXPECT_EQ(RecentFiles::load().size(), 2);
}

} // namespace
} // namespace viewer::testing

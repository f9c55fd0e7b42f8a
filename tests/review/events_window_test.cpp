// The reviewer's events on a real main window: marking with the mouse and keys, moving an
// edge, removing, undo and redo against the sidecar; the recording's bytes; a second window;
// Ctrl+Right/Ctrl+Left through notes and events; events on printed pages.

#include "EventMarks.h"
#include "atomic_file.h"
#include "events/EventsOverlay.h"
#include "events/EventsSession.h"
#include "events/EventsTools.h"
#include "review/MeasureOverlay.h"
#include "review/NotesPanel.h"
#include "review/ReviewTools.h"
#include "review_window.h"
#include "sidecar_tsv.h"

#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QUndoStack>

namespace viewer::testing {
namespace {

namespace ev = viewer::events;

class EventsWindowTest : public ReviewWindowTest {
protected:
    void mouse(QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers,
               Qt::MouseButtons buttons = Qt::LeftButton) {
        QMouseEvent e(type, at, win().review().overlay().mapToGlobal(at), Qt::LeftButton, buttons,
                      modifiers);
        QCoreApplication::sendEvent(&win().review().overlay(), &e);
    }
    void drag(int fromX, int toX, int y, Qt::KeyboardModifiers modifiers) {
        mouse(QEvent::MouseButtonPress, {fromX, y}, modifiers);
        mouse(QEvent::MouseMove, {(fromX + toX) / 2, y}, modifiers);
        mouse(QEvent::MouseMove, {toX, y}, modifiers);
        mouse(QEvent::MouseButtonRelease, {toX, y}, modifiers, Qt::NoButton);
    }
    std::vector<ev::Event> sidecar() {
        return ev::parseEvents(ev::readWholeFile(files.file("rec.events.tsv")).text,
                               ev::TableKind::Tabs)
            .events;
    }
    EventsTools& events() { return win().events(); }
    int x(double seconds) {
        return static_cast<int>(events().overlay().scale().xOf(std::llround(seconds * 1000)));
    }
    int64_t ms(int x) { return events().overlay().scale().msAt(x); }
};

TEST_F(EventsWindowTest, MarksMovesRemovesUndoesAndRedoesLeavingTheRecordingAsItWas) {
    const QString path = write(recording(60));
    const std::string original = ev::readWholeFile(path.toStdString()).text;
    win().OpenTrace(path);
    const int y = trace().contentsRect().top() + trace().rowCentre().at(2);
    drag(x(2), x(2), y, Qt::ControlModifier);                          // an instant, all lines
    drag(x(4), x(7), y, Qt::ControlModifier);                          // a span, all lines
    drag(x(8), x(8) + 1, y, Qt::ControlModifier | Qt::AltModifier);    // an instant on line 3
    mouse(QEvent::MouseMove, {x(9), y}, Qt::NoModifier, Qt::NoButton); // Ctrl+4 at the mouse
    events().markType(3);
    std::vector<ev::Event> marked = sidecar();
    ASSERT_EQ(marked.size(), 4U);
    const std::vector<std::tuple<int64_t, int64_t, std::string, std::vector<std::string>>> want = {
        {ms(x(2)), 0, "Spike", {}},
        {ms(x(4)), ms(x(7)) - ms(x(4)), "Spike", {}},
        {ms(x(8)), 0, "Spike", {trace().lineLabel(2).toStdString()}},
        {ms(x(9)), 0, "Seizure", {}}};
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(
            std::tie(marked[i].onsetMs, marked[i].durationMs, marked[i].type, marked[i].lines),
            want[i])
            << i;
    }
    drag(x(7), x(9), y, Qt::NoModifier); // the span's end edge
    EXPECT_EQ(sidecar().at(1).endMs(), ms(x(9)));
    events().removeSelected();
    EXPECT_EQ(sidecar().size(), 3U);
    NotesPanel& notes = win().review().notes();
    EXPECT_EQ(notes.model().rowCount(), 5); // two notes, three events
    notes.typeFilter()->setCurrentIndex(notes.typeFilter()->findData(QStringLiteral("Seizure")));
    EXPECT_EQ(notes.model().rowCount(), 1);
    QUndoStack& undo = events().session().undoStack();
    while (undo.canUndo()) {
        undo.undo();
    }
    EXPECT_TRUE(sidecar().empty());
    while (undo.canRedo()) {
        undo.redo();
    }
    EXPECT_EQ(sidecar().size(), 3U);
    EXPECT_EQ(ev::readWholeFile(files.file("rec.events.tsv.bak")).text.empty(), false);
    EXPECT_EQ(ev::readWholeFile(path.toStdString()).text, original);
}

TEST_F(EventsWindowTest, SecondWindowOnTheRecordingIsReadOnlyAndSaysWhoHoldsIt) {
    const QString path = write(recording(60));
    win().OpenTrace(path);
    frmView second;
    second.Form_Load(QString());
    second.OpenTrace(path);
    EXPECT_TRUE(second.events().session().store()->readOnly());
    EXPECT_TRUE(second.statusBar()->currentMessage().contains(QStringLiteral("held by")))
        << second.statusBar()->currentMessage().toStdString();
    second.events().markType(0);
    EXPECT_TRUE(sidecar().empty());
    events().markType(0);
    EXPECT_EQ(sidecar().size(), 1U);
}

TEST_F(EventsWindowTest, CtrlRightAndCtrlLeftGoThroughNotesAndEvents) {
    const QString path = write(recording(60)); // notes at 12.5 s and 42 s
    win().OpenTrace(path);
    for (const int64_t at : {5500, 30000}) {
        ASSERT_TRUE(events().session().change({}, {}, {{at, 0, "Spike", "", {}, "", ""}}));
    }
    trace().setFocus();
    std::vector<double> stops;
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                              Qt::Key_Left, Qt::Key_Left, Qt::Key_Left}) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &win(), key, Qt::ControlModifier);
        stops.push_back(scroll().Value());
    }
    EXPECT_EQ(stops, (std::vector<double>{5, 12, 30, 42, 30, 12, 5}));
}

TEST_F(EventsWindowTest, PrintedPagesMarkAndListTheEventsOfThePage) {
    win().OpenTrace(write(recording(60)));
    ASSERT_TRUE(events().session().change(
        {}, {},
        {{2000, 3000, "Seizure", "left", {}, "", ""}, {30000, 0, "Spike", "", {}, "", ""}}));
    const std::vector<PageEventMark> marks =
        pageEventMarks(events().session().events(), events().types(), trace(), 0, 10);
    ASSERT_EQ(marks.size(), 1U);
    EXPECT_EQ(marks[0].listed, QStringLiteral("09:30:02.000 (3 s)  Seizure: left"));
    QImage with(1200, 800, QImage::Format_RGB32);
    QImage without(with.size(), with.format());
    for (QImage* image : {&with, &without}) {
        QPainter p(image);
        trace().setReportEvents(
            image == &with ? CViewerCtrl::ReportEvents([&](double, double) { return marks; })
                           : CViewerCtrl::ReportEvents());
        const PagePaintResult r = trace().paintPageOn(p, image->rect(), 96);
        if (image == &with) {
            // Inside the band, 3.5 s into the page, the background is tinted.
            const int x = r.traces.left() + r.labelWidth +
                          static_cast<int>(3.5 / 10 * (r.traces.width() - r.labelWidth));
            EXPECT_NE(with.pixel(x, r.traces.bottom() - 2),
                      without.pixel(x, r.traces.bottom() - 2));
        }
    }
    EXPECT_NE(with, without);
}

} // namespace
} // namespace viewer::testing

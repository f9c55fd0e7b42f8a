// Paging, automatic paging, note search and the reaction to a change of position.

#include "program_fixture.h"

#include <QLabel>

#include <QTest>
#include <QTimer>
#include <algorithm>

namespace viewer::testing {
namespace {

constexpr int kRate = 256;

class NavigationTest : public ProgramTest {
protected:
    // Every position the scroll bar reports, in order.
    void recordPositions() {
        QObject::connect(&scroll(), &MyScrollBar::change, &scroll(),
                         [this] { positions.push_back(scroll().Value()); });
    }
    bool waitForAutoMoveToStop() {
        return QTest::qWaitFor([this] { return !window().AutoMove()->isActive(); }, 5000);
    }

    std::vector<double> positions;
};

RecordingDescription withNotes(int seconds, std::vector<std::pair<double, const char*>> notes) {
    RecordingDescription d = programRecording(seconds);
    for (const auto& [at, text] : notes) {
        d.notes.push_back(note(static_cast<int32_t>(at * kRate), text));
    }
    return d;
}

TEST_F(NavigationTest, APositionChangeStoresTheSecondAndShowsItsTime) {
    open(programRecording(60));
    EXPECT_EQ(scroll().max(), 60);
    EXPECT_EQ(scroll().largeChange(), 10.0);
    scroll().setValue(25.4);
    EXPECT_EQ(window().posSec(), 25);
    EXPECT_TRUE(window().lblTime()->text().contains("09:30:25"))
        << window().lblTime()->text().toStdString();
    EXPECT_TRUE(window().lblTime()->text().contains("2026"));
}

TEST_F(NavigationTest, WithoutARecordingTheTimePanelKeepsItsText) {
    start();
    window().lblTime()->setText("kept");
    scroll().setValue(0);
    EXPECT_EQ(window().lblTime()->text(), "kept");
}

TEST_F(NavigationTest, PageBackFromSecondThreeGoesToZeroWithABeep) {
    open(programRecording(60));
    scroll().setValue(25);
    click("indietro");
    EXPECT_EQ(window().posSec(), 15);
    EXPECT_EQ(beeps, 0);

    scroll().setValue(3);
    click("indietro");
    EXPECT_EQ(window().posSec(), 0);
    EXPECT_EQ(scroll().Value(), 0.0);
    EXPECT_EQ(beeps, 1);
}

TEST_F(NavigationTest, StartAndEndOfTheTrace) {
    open(programRecording(65));
    click("fine");
    EXPECT_EQ(window().posSec(), 55);
    EXPECT_EQ(scroll().Value(), 55.0);
    click("inizio");
    EXPECT_EQ(window().posSec(), 0);
    EXPECT_EQ(scroll().Value(), 0.0);
    EXPECT_EQ(beeps, 0);
}

TEST_F(NavigationTest, ARecordingShorterThanOnePageStaysAtSecondZero) {
    open(programRecording(4));
    recordPositions();
    click("fine");
    EXPECT_EQ(window().posSec(), 0);
    // The page reaches past the data, so it cannot be drawn: page forward only beeps.
    EXPECT_FALSE(window().pageDrawn());
    click("avanti");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(positions, std::vector<double>{0.0});

    click("avantiAuto");
    EXPECT_TRUE(window().AutoMove()->isActive());
    ASSERT_TRUE(waitForAutoMoveToStop());
    EXPECT_FALSE(button("avantiAuto").isChecked());
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(positions, std::vector<double>{0.0}) << "stopped at its first tick";
}

TEST_F(NavigationTest, AutomaticBackwardPagingStopsAtSecondZeroWithABeep) {
    open(programRecording(60));
    scroll().setValue(25);
    recordPositions();
    click("indietroAuto");
    EXPECT_TRUE(button("indietroAuto").isChecked());
    EXPECT_EQ(window().AutoMove()->interval(), 200);
    ASSERT_TRUE(waitForAutoMoveToStop());
    EXPECT_EQ(positions, (std::vector<double>{15, 5, 0}));
    EXPECT_EQ(window().posSec(), 0);
    EXPECT_FALSE(button("indietroAuto").isChecked());
    EXPECT_EQ(beeps, 1);
}

TEST_F(NavigationTest, OneDirectionOfAutomaticPagingAtATime) {
    open(programRecording(60));
    click("indietroAuto");
    click("avantiAuto");
    EXPECT_TRUE(button("avantiAuto").isChecked());
    EXPECT_FALSE(button("indietroAuto").isChecked());
    EXPECT_TRUE(window().AutoMove()->isActive());
    click("avantiAuto");
    EXPECT_FALSE(window().AutoMove()->isActive());
    EXPECT_EQ(beeps, 0);
}

TEST_F(NavigationTest, NextNoteSkipsANoteAtThePageStart) {
    open(withNotes(120, {{5, "a"}, {30, "b"}, {30.5, "c"}, {70, "d"}}));
    click("notaSuc");
    EXPECT_EQ(window().posSec(), 5);
    click("notaSuc");
    EXPECT_EQ(window().posSec(), 30);
    click("notaSuc"); // 30.5 starts in the second shown
    EXPECT_EQ(window().posSec(), 70);
    EXPECT_EQ(beeps, 0);
    click("notaSuc");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(window().posSec(), 70);
}

TEST_F(NavigationTest, ANoteOnTheLastPageShowsTheLastFullPage) {
    open(withNotes(120, {{115, "e"}}));
    click("notaSuc");
    EXPECT_EQ(window().posSec(), 110);
    click("notaSuc"); // the note still lies after the page start
    EXPECT_EQ(window().posSec(), 110);
    EXPECT_EQ(beeps, 0);
}

TEST_F(NavigationTest, PreviousNoteGoesToTheNoteBeforeTheOneAtThePageStart) {
    open(withNotes(120, {{5, "a"}, {30, "b"}, {70, "d"}}));
    scroll().setValue(30);
    click("notaPrec");
    EXPECT_EQ(window().posSec(), 5);
    click("notaPrec");
    EXPECT_EQ(window().posSec(), 5);
    EXPECT_EQ(beeps, 1);
    scroll().setValue(100);
    click("notaPrec");
    EXPECT_EQ(window().posSec(), 70);
}

TEST_F(NavigationTest, ANoteOnTheFirstSampleEndsBothSearches) {
    RecordingDescription d = withNotes(120, {{20, "later"}});
    d.notes.insert(d.notes.begin(), note(0, "start"));
    open(d);
    scroll().setValue(50);
    click("notaSuc");
    click("notaPrec");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(window().posSec(), 50);
}

// Records the page changes the video window is told about and, at the first one, lets two
// more position changes arrive while the handler lets pending events run.
class VideoSpy : public VideoWindowLink {
public:
    explicit VideoSpy(MyScrollBar& bar) : bar_(bar) {}
    void open(int posSec) override { opened.push_back(posSec); }
    void close() override { ++closed; }
    void pageChanged(int posSec) override {
        changes.push_back(posSec);
        if (changes.size() == 1) {
            QTimer::singleShot(0, &bar_, [this] { bar_.setValue(20); });
            QTimer::singleShot(0, &bar_, [this] { bar_.setValue(30); });
        }
    }
    std::vector<int> opened;
    std::vector<int> changes;
    int closed = 0;

private:
    MyScrollBar& bar_;
};

TEST_F(NavigationTest, AChangeArrivingWhileOneIsHandledWaitsAndOnlyTheLatestIsHandled) {
    RecordingDescription d = programRecording(60);
    d.videoFlag = true;
    open(d);
    auto spy = std::make_unique<VideoSpy>(scroll());
    VideoSpy& video = *spy;
    window().setVideoLink(std::move(spy));
    ASSERT_TRUE(button("video").isEnabled());
    click("video");
    EXPECT_EQ(video.opened, std::vector<int>{0});

    scroll().setValue(10);
    EXPECT_EQ(video.changes, (std::vector<int>{10, 30}));
    EXPECT_EQ(window().posSec(), 30);
    EXPECT_TRUE(window().lblTime()->text().contains("09:30:30"));

    click("video");
    EXPECT_EQ(video.closed, 1);
    scroll().setValue(40);
    EXPECT_EQ(video.changes.size(), 2u) << "no video step while the button is up";
}

TEST_F(NavigationTest, AFailedOpenKeepsTheOpenRecordingsPathListsAndTitle) {
    open(montageRecording(60, true));
    const QString good = window().traceFileName();
    const QString title = window().windowTitle();
    scroll().setValue(30);
    window().OpenTrace(recordings.file("missing.vwr").c_str());
    EXPECT_EQ(window().traceFileName(), good);
    EXPECT_EQ(window().windowTitle(), title);
    EXPECT_EQ(window().cmbViewMode()->count(), 4);
    EXPECT_EQ(scroll().max(), 60);
    EXPECT_EQ(window().posSec(), 0) << "the position went back to 0";
}

TEST_F(NavigationTest, PageForwardPastTheLastPageStartIsMovedBackByTheScrollBar) {
    open(programRecording(60));
    scroll().setValue(25);
    EXPECT_TRUE(window().pageDrawn());
    click("avanti");
    EXPECT_EQ(window().posSec(), 35);
    scroll().setValue(45);
    ASSERT_TRUE(window().pageDrawn());
    recordPositions();
    click("avanti"); // 55 lies past the last full page, which starts at 50
    EXPECT_EQ(positions, std::vector<double>{50});
    EXPECT_EQ(window().posSec(), 50);
    EXPECT_EQ(beeps, 0);
    // A page that ends exactly with the data is drawn: paging forward draws it again.
    EXPECT_TRUE(window().pageDrawn());
    click("avanti");
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(positions, (std::vector<double>{50, 50}));
}

TEST_F(NavigationTest, AutomaticForwardPagingStopsAfterThePageThatEndsPastTheData) {
    RecordingDescription d = programRecording(55);
    d.frames -= kRate / 2; // the data end half a second before the last full second
    open(d);
    ASSERT_EQ(trace().totalTrcSec(), 55);
    scroll().setValue(25);
    recordPositions();
    click("avantiAuto");
    ASSERT_TRUE(waitForAutoMoveToStop());
    EXPECT_EQ(positions, (std::vector<double>{35, 45}));
    EXPECT_FALSE(window().pageDrawn());
    EXPECT_FALSE(button("avantiAuto").isChecked());
    EXPECT_EQ(beeps, 1);
}

TEST_F(NavigationTest, AutomaticForwardPagingRedrawsALastPageThatEndsWithTheData) {
    open(programRecording(60));
    scroll().setValue(30);
    recordPositions();
    click("avantiAuto");
    ASSERT_TRUE(QTest::qWaitFor([this] { return positions.size() >= 4; }, 5000));
    click("avantiAuto"); // released by the user
    EXPECT_EQ(positions, (std::vector<double>{40, 50, 50, 50}));
    EXPECT_FALSE(window().AutoMove()->isActive());
    EXPECT_EQ(beeps, 0);
}

TEST_F(NavigationTest, TheControlsNoteEventsPlaceTheLabels) {
    RecordingDescription d = withNotes(60, {{2, "Eyes closed"}, {2.05, "Blink"}, {40, "Later"}});
    for (int i = 0; i < 10; ++i) {
        d.notes.push_back(note(static_cast<int32_t>((4 + 0.5 * i) * kRate), "n"));
    }
    std::sort(d.notes.begin(), d.notes.end(),
              [](const NoteRecord& a, const NoteRecord& b) { return a.sample < b.sample; });
    start();
    window().resize(1000, 600);
    window().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    window().OpenTrace(write("notes.vwr", d));
    frmView& w = window();
    EXPECT_EQ(w.lblNota(0)->text(), "Eyes closed");
    EXPECT_FALSE(w.lblNota(0)->isHidden());
    EXPECT_EQ(w.lblNota(0)->y(), 0);
    EXPECT_EQ(w.lblNota(1)->text(), "Blink");
    EXPECT_EQ(w.lblNota(1)->y(), w.lblNota(0)->height());
    EXPECT_GT(w.lblNota(1)->x(), w.lblNota(0)->x());
    int shown = 0;
    for (int i = 0; i < 10; ++i) {
        shown += w.lblNota(i)->isHidden() ? 0 : 1;
    }
    EXPECT_EQ(shown, 10) << "twelve notes on the page, ten labels";

    scroll().setValue(40);
    EXPECT_EQ(w.lblNota(0)->text(), "Later");
    EXPECT_FALSE(w.lblNota(0)->isHidden());
    EXPECT_TRUE(w.lblNota(1)->isHidden());
}

} // namespace
} // namespace viewer::testing

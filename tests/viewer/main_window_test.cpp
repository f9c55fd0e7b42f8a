// The main window's elements, its layout, its focus and the placement it keeps.

#include "program_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace viewer::testing {
namespace {

class MainWindowTest : public ProgramTest {
protected:
    void show() {
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }
};

TEST_F(MainWindowTest, ToolBarButtonsListsAndPicturesInOrder) {
    start();
    const QList<QAction*> actions = window().Toolbar1()->actions();
    std::vector<QString> keys;
    std::vector<bool> checkable;
    for (QAction* a : actions) {
        if (QWidget* w = window().Toolbar1()->widgetForAction(a);
            w && !a->isSeparator() && qobject_cast<QComboBox*>(w)) {
            keys.push_back(w->objectName());
            continue;
        }
        keys.push_back(a->isSeparator() ? QStringLiteral("|") : a->objectName());
        checkable.push_back(a->isCheckable());
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
        }
    }
    const std::vector<QString> expected = {
        "inizio",     "notaPrec",    "indietroAuto", "indietro",   "avanti",
        "avantiAuto", "notaSuc",     "fine",         "|",          "|",
        "video",      "|",           "notch",        "|",          "cmbHighPass",
        "cmbLowPass", "cmbBaseTime", "cmbGain",      "cmbViewMode"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(checkable, (std::vector<bool>{false, false, true, false, false, true, false, false,
                                            false, false, true, false, true, false}));
    EXPECT_EQ(window().button("nothing"), nullptr);
}

TEST_F(MainWindowTest, FileMenuItems) {
    start();
    const QMenu* file = window().findChild<QMenu*>("mnuFile");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), "File");
    EXPECT_EQ(window().mnuOpen()->text(), "Open");
    EXPECT_EQ(window().mnuBackColor()->text(), "Change background color");
    EXPECT_EQ(window().mnuClose()->text(), "Exit");
    const QMenu* notch = window().findChild<QMenu*>("mnuNotchSettings");
    ASSERT_NE(notch, nullptr);
    EXPECT_EQ(notch->title(), "Notch settings");
    EXPECT_EQ(window().mnu50Hz()->text(), "50 Hz");
    EXPECT_EQ(window().mnu60Hz()->text(), "60 Hz");
}

TEST_F(MainWindowTest, TheLayoutFollowsTheWindowSize) {
    start();
    show();
    for (const QSize size : {QSize(900, 600), QSize(1200, 400)}) {
        window().resize(size);
        QApplication::processEvents();
        const QWidget* client = window().centralWidget();
        const int innerW = client->width();
        const int innerH = client->height();
        const QRect time = window().lblTime()->geometry();
        const QRect bar = scroll().geometry();
        const QRect traces = trace().geometry();
        const int toolbarH = window().Toolbar1()->height();
        EXPECT_EQ(time.topLeft(), QPoint(0, innerH - time.height()));
        EXPECT_EQ(bar.left(), time.right() + 1);
        EXPECT_EQ(bar.top(), innerH - bar.height());
        EXPECT_EQ(bar.width(), innerW - time.width());
        EXPECT_EQ(traces, QRect(0, toolbarH, innerW, innerH - toolbarH - bar.height()));
        EXPECT_EQ(window().Toolbar1()->geometry().topLeft(), QPoint(0, 0));
    }
    // While the video marker shows, its height follows the traces.
    window().pctSync()->setGeometry(40, 0, 1, 10);
    window().pctSync()->show();
    window().resize(1000, 700);
    QApplication::processEvents();
    EXPECT_EQ(window().pctSync()->height(), trace().height());
}

TEST_F(MainWindowTest, TheSmallestWindowIsAMinimumSizeNotAResize) {
    start();
    EXPECT_EQ(window().minimumSize(), QSize(334, 334)); // 5000 twips at 15 twips per pixel
    show();
    window().resize(100, 900);
    QApplication::processEvents();
    EXPECT_EQ(window().size(), QSize(334, 900));
}

TEST_F(MainWindowTest, TheTraceControlHandsTheFocusToTheScrollBar) {
    start();
    show();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    trace().setFocus();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == &scroll() || scroll().isAncestorOf(focus));
}

TEST_F(MainWindowTest, PlacementIsRestoredAndWrittenInTheNormalState) {
    setSetting("ViewLeft", "3000");
    setSetting("ViewTop", "1500");
    setSetting("ViewWidth", "12000");
    setSetting("ViewHeight", "9000");
    start();
    EXPECT_EQ(window().pos(), QPoint(200, 100));
    EXPECT_EQ(window().size(), QSize(800, 600));
    show();
    window().setGeometry(QRect(QPoint(300, 120), QSize(900, 640)));
    QApplication::processEvents();
    const QPoint pos = window().pos();
    window().mnuClose()->trigger();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(setting("ViewWindowState").toString(), "0");
    EXPECT_EQ(setting("ViewLeft").toString(), QString::number(pos.x() * 15));
    EXPECT_EQ(setting("ViewTop").toString(), QString::number(pos.y() * 15));
    EXPECT_EQ(setting("ViewWidth").toString(), "13500");
    EXPECT_EQ(setting("ViewHeight").toString(), "9600");
}

TEST_F(MainWindowTest, AMaximisedWindowStoresOnlyItsState) {
    setSetting("ViewLeft", "1111");
    setSetting("ViewWidth", "9999");
    setSetting("ViewWindowState", "2");
    start();
    EXPECT_TRUE(window().windowState() & Qt::WindowMaximized);
    show();
    window().close();
    EXPECT_EQ(setting("ViewWindowState").toString(), "2");
    EXPECT_EQ(setting("ViewLeft").toString(), "1111");
    EXPECT_EQ(setting("ViewWidth").toString(), "9999");
    EXPECT_FALSE(setting("ViewTop").isValid());
}

TEST_F(MainWindowTest, AMinimisedWindowStoresNothing) {
    start();
    show();
    window().setWindowState(Qt::WindowMinimized);
    window().close();
    EXPECT_FALSE(setting("ViewWindowState").isValid());
    EXPECT_FALSE(setting("ViewLeft").isValid());
}

class VideoCounter : public VideoWindowLink {
public:
    explicit VideoCounter(int& closed) : closed_(closed) {}
    void close() override { ++closed_; }

private:
    int& closed_;
};

TEST_F(MainWindowTest, TheVideoButtonFollowsTheRecordingAndClosesTheVideoOnUnload) {
    open(programRecording(30));
    EXPECT_FALSE(button("video").isEnabled());
    RecordingDescription d = programRecording(30);
    d.videoFlag = true;
    window().OpenTrace(write("video.vwr", d));
    EXPECT_TRUE(button("video").isEnabled());

    int closed = 0;
    window().setVideoLink(std::make_unique<VideoCounter>(closed));
    show();
    click("video");
    window().close();
    EXPECT_EQ(closed, 1);
}

TEST_F(MainWindowTest, NoteLabelsAreBoldRedHiddenChildrenOfTheTraceArea) {
    start();
    for (int i = 0; i < 10; ++i) {
        const QLabel* label = window().lblNota(i);
        EXPECT_EQ(label->parentWidget(), &trace());
        EXPECT_TRUE(label->isHidden());
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::red));
    }
    EXPECT_EQ(window().pctSync()->parentWidget(), &trace());
    EXPECT_TRUE(window().pctSync()->isHidden());
    EXPECT_FALSE(window().AutoMove()->isActive());
}

TEST_F(MainWindowTest, OverlappingNoteLabelsTakeTheSecondRowAndTheNextGoesBack) {
    start();
    frmView& w = window();
    emit trace().DeleteNote();
    emit trace().NoteNotification(0, 100, "  Eyes closed  ");
    const QLabel* first = w.lblNota(0);
    EXPECT_EQ(first->text(), "Eyes closed");
    EXPECT_EQ(first->pos(), QPoint(100, 0));
    EXPECT_FALSE(first->isHidden());

    // Starts inside the first one: second row.
    emit trace().NoteNotification(1, 100 + first->width() - 5, "Hyperventilation");
    EXPECT_EQ(w.lblNota(1)->pos(), QPoint(100 + first->width() - 5, first->height()));
    // Overlaps the second, which is not in the top row: back to the top row.
    emit trace().NoteNotification(2, w.lblNota(1)->x() + 3, "Photic");
    EXPECT_EQ(w.lblNota(2)->y(), 0);
    // Right where the previous ends: still touching.
    emit trace().NoteNotification(3, w.lblNota(2)->x() + w.lblNota(2)->width(), "Touch");
    EXPECT_EQ(w.lblNota(3)->y(), w.lblNota(2)->height());
    // Clear of the previous: top row.
    emit trace().NoteNotification(4, 2000, "Far");
    EXPECT_EQ(w.lblNota(4)->y(), 0);

    emit trace().DeleteNote();
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(w.lblNota(i)->isHidden()) << i;
    }
    // The previous label hidden: top row even where it would overlap.
    emit trace().NoteNotification(6, 100, "Alone");
    EXPECT_EQ(w.lblNota(6)->y(), 0);
}

TEST_F(MainWindowTest, NotesFromTheTenthOnGetNoLabel) {
    start();
    for (int16_t i = 0; i < 12; ++i) {
        emit trace().NoteNotification(i, 100 * i, QStringLiteral("note %1").arg(i));
    }
    EXPECT_EQ(window().lblNota(9)->text(), "note 9");
    EXPECT_FALSE(window().lblNota(9)->isHidden());
    for (QLabel* label : trace().findChildren<QLabel*>("lblNota")) {
        EXPECT_FALSE(label->text().startsWith("note 1") && label->text().size() > 6);
    }
    EXPECT_EQ(trace().findChildren<QLabel*>("lblNota").size(), 10);
}

} // namespace
} // namespace viewer::testing

#pragma once
// The end of the data on a page that runs past it: hatching after the last sample and a
// labelled line at it, so that the flat stretch after the end is not read as suppression.
// A transparent widget over the trace control; the control's layers stay as they are.

#include <QWidget>

#include <cstdint>

class CViewerCtrl;

// The time from the page start, in milliseconds, at which the data end when they end inside
// the page drawn; -1 when the page lies whole inside the data or nothing is open.
int32_t dataEndOnPage(const CViewerCtrl& trace);

class DataEndMark : public QWidget {
public:
    explicit DataEndMark(CViewerCtrl& trace);

    // Places the mark for the page just drawn (called after every trace drawing).
    void follow();
    // The mark's column in the control's client area, -1 when none is shown.
    int32_t column() const { return column_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect markRect() const;

    CViewerCtrl& trace_;
    int32_t column_ = -1;
};

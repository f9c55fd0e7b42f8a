#pragma once
// The program's horizontal scroll bar with a floating-point position, the time axis of the main
// window. Every write of Value is clamped so that one largeChange still fits before max, snapped
// to whole units (or to largeChange below one unit) and reported with change; dragging the thumb
// reports change continuously or only on release (scrollingChangeEvent). Geometry is kept in
// twips (1440 per inch) and shown in pixels of the screen's logical resolution.

#include "ScrollBarGeometry.h"

#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <cstdint>

class QFrame;
class QMouseEvent;
class QPushButton;
class QSettings;

class MyScrollBar : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("scrollingChangeEvent", "if true return \"change\" event when scrollbar is "
                                        "scrolling. if false return \"change\" event ")

    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledFlag)
    Q_PROPERTY(int32_t smallChange READ smallChange WRITE setSmallChange)
    Q_PROPERTY(int32_t min READ min WRITE setMin)
    Q_PROPERTY(int32_t max READ max WRITE setMax)
    Q_PROPERTY(int32_t realWidth READ realWidth)
    Q_PROPERTY(int16_t ChangeType READ ChangeType WRITE setChangeType)
    Q_PROPERTY(QVariant timeUnit READ timeUnit WRITE setTimeUnit)
    Q_PROPERTY(double Value READ Value WRITE setValue)
    Q_PROPERTY(double largeChange READ largeChange WRITE setLargeChange)
    Q_PROPERTY(bool scrollingChangeEvent READ scrollingChangeEvent WRITE setScrollingChangeEvent)

public:
    // What the user did last, as ChangeType reports it.
    enum ChangeKind : int16_t {
        ThumbReleased = 0,
        RightButton = 1,
        LeftButton = 2,
        TrackRightOfThumb = 3,
        TrackLeftOfThumb = 4,
    };

    explicit MyScrollBar(QWidget* parent = nullptr);

    // Kept and saved only; unlike QWidget's own enabled state it changes no behaviour.
    bool Enabled() const { return enabled_; }
    void setEnabledFlag(bool v);
    int32_t smallChange() const { return smallChange_; }
    void setSmallChange(int32_t v);
    int32_t min() const { return min_; }
    void setMin(int32_t v);
    int32_t max() const { return max_; }
    void setMax(int32_t v);
    // Width of each end button in twips; the control sets it on every resize.
    int32_t realWidth() const { return realWidth_; }
    int16_t ChangeType() const { return changeType_; }
    void setChangeType(int16_t v);
    QVariant timeUnit() const { return timeUnit_; }
    void setTimeUnit(const QVariant& v);
    // Never negative.
    double Value() const;
    // Clamps, snaps and stores v, lays out the thumb, then raises change, on every write.
    void setValue(double v);
    // Never 0 or negative: such a stored value reads as 1.
    double largeChange() const;
    // Stores v cut to three decimals, then writes Value again with its own value.
    void setLargeChange(double v);
    bool scrollingChangeEvent() const { return scrollingChangeEvent_; }
    void setScrollingChangeEvent(bool v);

    // Sizes and places the thumb from max, largeChange and Value (not when max is 0) and makes
    // it as high as the control.
    Q_INVOKABLE void ReCalc();

    // The saved form: each property under its own name, only when it differs from its default.
    QVariantMap saveProperties() const;
    // Reads every property back from the form, the default where a name is missing or its
    // value unreadable; raises no event and leaves the control unmodified.
    void loadProperties(const QVariantMap& form);
    // The same in the current group of a settings store; names at their default are removed.
    void saveProperties(QSettings& settings) const;
    void loadProperties(const QSettings& settings);

    // Whether a property was written since the control was made or its form loaded.
    bool isModified() const { return modified_; }

    // The layout in twips, as the position arithmetic sees it.
    const ScrollBarGeometry& geometryTwips() const { return geometry_; }
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

signals:
    // While the thumb is dragged: the position it stands for, cut to three decimals.
    void ChangeToolTip(float& value);
    void change();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutChildren();
    void showThumb();
    int toPixelsX(double twips) const;
    void trackPressed(const QMouseEvent& event);
    void trackMoved(const QMouseEvent& event);
    void trackReleased(const QMouseEvent& event);
    void leftButtonClicked();
    void rightButtonClicked();
    void setModified() { modified_ = true; }

    QPushButton* btnLeft_;
    QWidget* picture1_;
    QFrame* shape1_;
    QPushButton* btnRight_;
    ScrollBarGeometry geometry_;

    bool enabled_ = false;
    int32_t smallChange_ = 1;
    int32_t min_ = 0;
    int32_t max_ = 100;
    int32_t realWidth_ = 0;
    int16_t changeType_ = 0;
    QVariant timeUnit_ = QVariant::fromValue<int16_t>(0);
    double value_ = 0;
    double largeChange_ = 1;
    bool scrollingChangeEvent_ = true;

    bool dragging_ = false;
    int32_t grabOffset_ = 0;
    bool modified_ = false;
};

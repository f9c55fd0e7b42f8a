#pragma once
// The private messages the control posts to itself so that its events reach the host on
// the control's thread, in posting order, after the call that caused them has returned.

#include <QEvent>

#include <cmath>
#include <cstdint>

class ClipEvent : public QEvent {
public:
    // Playback reached the end of the file.
    static constexpr QEvent::Type kComplete = static_cast<QEvent::Type>(QEvent::User + 101);
    // The position changed; the value is in milliseconds.
    static constexpr QEvent::Type kPosition = static_cast<QEvent::Type>(QEvent::User + 102);
    // The worker could not read the position; the value is the failure code.
    static constexpr QEvent::Type kFailure = static_cast<QEvent::Type>(QEvent::User + 103);

    explicit ClipEvent(QEvent::Type type, uint32_t value = 0) : QEvent(type), value_(value) {}

    uint32_t value() const { return value_; }

private:
    uint32_t value_;
};

// Milliseconds as the position event carries them: truncated toward zero, then kept to an
// unsigned 32-bit number (whole multiples of 2^32 dropped) as the message parameter holds it.
inline uint32_t eventMilliseconds(double milliseconds) {
    if (!std::isfinite(milliseconds)) {
        return 0;
    }
    const double wrapped = std::fmod(std::trunc(milliseconds), 4294967296.0);
    return static_cast<uint32_t>(wrapped < 0 ? wrapped + 4294967296.0 : wrapped);
}

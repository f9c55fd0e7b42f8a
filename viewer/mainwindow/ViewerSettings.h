#pragma once
// The program's per-user settings: application "Viewer", section "Settings", every value kept
// as text. A value that is missing or does not read as what is asked for gives the default.

#include <QSettings>
#include <QString>

#include <cstdint>

class ViewerSettings {
public:
    ViewerSettings();

    // A whole number in C-locale notation; a decimal is rounded to the nearest, halves to even.
    // Text that is not a number or lies outside the 32-bit range gives `fallback`.
    int32_t readInt(const QString& key, int32_t fallback) const;
    // The same for an unsigned 32-bit value (colours).
    uint32_t readUInt(const QString& key, uint32_t fallback) const;
    // "True"/"False" in any case, or a number (non-zero is true); anything else gives `fallback`.
    bool readBool(const QString& key, bool fallback) const;

    void write(const QString& key, long long value);

private:
    // A number read from the stored text, or nothing when it is missing or not a number.
    bool readNumber(const QString& key, double& value) const;

    QSettings store_;
};

#pragma once
// The values behind the display-setting lists of the main window and the texts shown for them.

#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>

namespace DisplayTables {

// Gains in microvolts per centimetre, ascending, ended by -1 as ModifyGain walks them.
inline constexpr std::array<int32_t, 26> kGains = {
    1,    2,    5,    10,    20,    50,    70,    100,    150,    200,    400,    500,     800,
    1000, 1600, 5000, 10000, 20000, 50000, 70000, 100000, 200000, 500000, 700000, 1000000, -1};
inline constexpr int kGainEntries = 25;

// High-pass cut-offs in thousandths of a hertz; 0 turns the filter off.
inline constexpr std::array<int32_t, 35> kHighPass = {
    0,    16,   160,  200,  300,   400,   500,   530,   600,   700,   800,  1000,
    1200, 1400, 1600, 1800, 2000,  2500,  3000,  3500,  4000,  4500,  5000, 5300,
    5500, 6000, 7000, 8000, 10000, 16000, 20000, 30000, 40000, 50000, 53000};

// Low-pass cut-offs in hundredths of a hertz.
inline constexpr std::array<int32_t, 33> kLowPass = {
    100,   200,   500,   1000,  1500,  2000,  3000,  4000,  5000,  6000,  7000,
    8000,  9000,  10000, 11000, 12000, 13000, 14000, 15000, 17500, 20000, 22500,
    25000, 30000, 35000, 40000, 45000, 50000, 60000, 70000, 80000, 90000, 100000};

// Page lengths offered, 1 to this many seconds.
inline constexpr int kBaseTimeEntries = 40;

// "0005 µV/cm" below 5000 µV/cm, "0005 mV/cm" from there on.
QString gainText(int32_t microvoltsPerCm);
// "00.016 Hz" with the locale's decimal separator; 0 (filter off) reads "00.008 Hz".
QString highPassText(int32_t thousandthsHz, const QLocale& locale = QLocale());
// "0175 Hz" for 17500.
QString lowPassText(int32_t hundredthsHz);
// "01 sec" for entry 0.
QString baseTimeText(int index);

} // namespace DisplayTables

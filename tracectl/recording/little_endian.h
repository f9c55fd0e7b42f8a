#pragma once
// Little-endian field access for the fixed layouts of a trace file.

#include <cstdint>
#include <cstring>

namespace viewer {

inline uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t readI16(const uint8_t* p) { return static_cast<int16_t>(readU16(p)); }
inline uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t readI32(const uint8_t* p) { return static_cast<int32_t>(readU32(p)); }

inline void writeU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void writeU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}
inline void writeI16(uint8_t* p, int16_t v) { writeU16(p, static_cast<uint16_t>(v)); }
inline void writeI32(uint8_t* p, int32_t v) { writeU32(p, static_cast<uint32_t>(v)); }

} // namespace viewer

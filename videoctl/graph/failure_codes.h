#pragma once
// Failure codes in the platform convention the control's messages print: 32-bit values
// whose top bit marks a failure (0x80004005 generic failure, 0x80070002 file not found...).

#include <cstdint>

namespace clipdeck::hr {

inline constexpr uint32_t kOk = 0;
inline constexpr uint32_t kNoInterface = 0x80004002;
inline constexpr uint32_t kPointer = 0x80004003;
inline constexpr uint32_t kFail = 0x80004005;
inline constexpr uint32_t kFileNotFound = 0x80070002;
inline constexpr uint32_t kPathNotFound = 0x80070003;
inline constexpr uint32_t kTooManyOpenFiles = 0x80070004;
inline constexpr uint32_t kAccessDenied = 0x80070005;
inline constexpr uint32_t kOutOfMemory = 0x8007000E;
inline constexpr uint32_t kReadFault = 0x8007001E;
inline constexpr uint32_t kInvalidArg = 0x80070057;
inline constexpr uint32_t kFilenameTooLong = 0x800700CE;
inline constexpr uint32_t kClassNotRegistered = 0x80040154;
inline constexpr uint32_t kCannotRender = 0x80040218;
inline constexpr uint32_t kTimeout = 0x8004022E;
inline constexpr uint32_t kInvalidFileFormat = 0x8004022F;
inline constexpr uint32_t kUnsupportedStream = 0x80040265;

inline constexpr bool failed(uint32_t code) {
    return (code & 0x80000000u) != 0;
}

// The code for a system error number as the file functions report it (ENOENT gives
// kFileNotFound, EACCES kAccessDenied...); kFail for numbers without a closer match.
uint32_t fromErrno(int err);

} // namespace clipdeck::hr

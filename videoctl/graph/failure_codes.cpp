#include "failure_codes.h"

#include <cerrno>

namespace clipdeck::hr {

uint32_t fromErrno(int err) {
    switch (err) {
    case ENOENT:
        return kFileNotFound;
    case ENOTDIR:
        return kPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
        return kAccessDenied;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case ENOMEM:
        return kOutOfMemory;
    case ENAMETOOLONG:
        return kFilenameTooLong;
    case EIO:
        return kReadFault;
    default:
        return kFail;
    }
}

} // namespace clipdeck::hr

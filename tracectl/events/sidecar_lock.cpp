#include "sidecar_lock.h"

#include "atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace viewer::events {

namespace {

std::string lockContents(const LockHolder& h) {
    return h.user + "\n" + h.host + "\n" + std::to_string(h.pid) + "\n";
}

bool parseHolder(const std::string& text, LockHolder& holder) {
    std::istringstream in(text);
    return static_cast<bool>(std::getline(in, holder.user) && std::getline(in, holder.host) &&
                             (in >> holder.pid) && holder.pid > 0);
}

LockHolder thisProcess() { return {currentUser(), currentHost(), static_cast<long>(::getpid())}; }

// A holder on this host whose process has ended, or a lock file that names nobody.
bool stale(const FileText& file, const LockHolder& holder, bool parsed) {
    if (!file.read) {
        return false;
    }
    if (!parsed) {
        return true;
    }
    return holder.host == currentHost() && ::kill(static_cast<pid_t>(holder.pid), 0) != 0 &&
           errno == ESRCH;
}

} // namespace

std::string holderText(const LockHolder& holder) {
    return holder.user + " on " + holder.host + " (process " + std::to_string(holder.pid) + ")";
}

std::string currentUser() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr) {
        return pw->pw_name;
    }
    const char* user = std::getenv("USER");
    return user != nullptr && *user != '\0' ? user : "n/a";
}

std::string currentHost() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) {
        return "localhost";
    }
    return name;
}

SidecarLock::SidecarLock(std::string lockPath) : path_(std::move(lockPath)) {
    const std::string contents = lockContents(thisProcess());
    // The lock is made whole under a name of its own, then linked in: link() fails when a
    // lock is there, and nobody ever reads half a lock.
    const std::string draft = path_ + "." + std::to_string(::getpid()) + ".draft";
    if (const std::string error = writeFileAtomically(draft, contents); !error.empty()) {
        problem_ = error;
        return;
    }
    if (::link(draft.c_str(), path_.c_str()) == 0) {
        held_ = true;
    } else if (errno == EEXIST) {
        const FileText file = readWholeFile(path_);
        const bool parsed = parseHolder(file.text, holder_);
        if (stale(file, holder_, parsed)) {
            held_ = takeOver(draft);
        }
        if (!held_) {
            problem_ = "held by " + holderText(holder_);
        }
    } else {
        problem_ = "cannot make the lock " + path_;
    }
    ::unlink(draft.c_str());
}

bool SidecarLock::takeOver(const std::string& draft) {
    // Two takers may rename at once: the last rename wins, and each checks that it did.
    const std::string mine = draft + ".take";
    if (::link(draft.c_str(), mine.c_str()) != 0 || ::rename(mine.c_str(), path_.c_str()) != 0) {
        ::unlink(mine.c_str());
        return false;
    }
    if (namesThisProcess()) {
        return true;
    }
    const FileText file = readWholeFile(path_);
    parseHolder(file.text, holder_);
    return false;
}

bool SidecarLock::namesThisProcess() const {
    LockHolder h;
    const FileText file = readWholeFile(path_);
    const LockHolder me = thisProcess();
    return parseHolder(file.text, h) && h.pid == me.pid && h.host == me.host;
}

SidecarLock::~SidecarLock() {
    if (held_ && namesThisProcess()) {
        ::unlink(path_.c_str());
    }
}

} // namespace viewer::events

#pragma once
// The lock beside an events sidecar (NAME.events.tsv.lock): one writer per sidecar. The lock
// file names its holder (user, host, process); a lock left by a process of this host that
// no longer runs is taken over.

#include <string>

namespace viewer::events {

struct LockHolder {
    std::string user;
    std::string host;
    long pid = 0;
};

// "anna on ward-3 (process 4711)".
std::string holderText(const LockHolder& holder);

// The user name of this process ("n/a" when there is none).
std::string currentUser();
// The host name of this machine.
std::string currentHost();

class SidecarLock {
public:
    // Takes the lock at `lockPath` for this process when it is free or stale; otherwise holds
    // nothing and tells who does. A lock held by this same process counts as held.
    explicit SidecarLock(std::string lockPath);
    // Gives the lock back: removes the file when it still names this process.
    ~SidecarLock();
    SidecarLock(const SidecarLock&) = delete;
    SidecarLock& operator=(const SidecarLock&) = delete;

    bool held() const { return held_; }
    // Who holds the lock when this process does not.
    const LockHolder& holder() const { return holder_; }
    // Why the lock could not be taken: another holder, or a folder that cannot be written.
    const std::string& problem() const { return problem_; }

private:
    bool takeOver(const std::string& contents);
    bool namesThisProcess() const;

    std::string path_;
    bool held_ = false;
    LockHolder holder_;
    std::string problem_;
};

} // namespace viewer::events

#pragma once
// Two games on one profile would each write it at exit, and the one that
// ends last would silently drop the other's progress. The profile is locked
// while it is in use: "<profile>.lock" beside it, held with flock(), so the
// lock of an instance that crashed goes with its process and is taken over.
#include <string>

class ProfileLock {
public:
    enum class Result { Taken, InUse, Failed };

    ProfileLock() = default;
    ~ProfileLock() { release(); }
    ProfileLock(const ProfileLock&) = delete;
    ProfileLock& operator=(const ProfileLock&) = delete;

    // Takes the lock of the profile file at `profilePath` (releasing any lock
    // held before). Failed: the lock file cannot be made (a read-only folder);
    // the caller may go on without one.
    Result take(const std::string& profilePath);
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
    std::string path_;
};

#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

namespace vq {

// Serialises writers of one folder's files across processes for as long as the object lives, so
// that a read-modify-write of one writer does not start from a file another is replacing.
//
// Writers hold the lock for one small file's write, a few milliseconds. The interface thread
// must not stall behind one that is stuck, so the wait is short and shared: a holder that is
// stopped or gone (where the platform tells) is not waited for at all; any other is waited for at
// most kTurnWait; and once a wait has run out, later writers of that folder in this process only
// try the lock and go on without it until it is seen free again. A stuck holder thus costs the
// interface one kTurnWait in all, however many keys a drag or a save writes, while live writers
// still take turns.
class FolderWriteLock {
public:
    explicit FolderWriteLock(const QString& filePath);
    ~FolderWriteLock();
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;
    bool held() const { return m_lock != kNone; }

    // About one frame of the show.
    static constexpr std::chrono::milliseconds kTurnWait{16};
    // Where a stopped holder cannot be told from a live one (Windows), the wait a live holder is
    // given instead: a write there, its flush to the disk included, was seen to hold the lock
    // for over 250 ms on a loaded machine, and going on without the lock beside a live writer
    // can lose its keys. A stuck holder still costs this once, not once per key.
    static constexpr std::chrono::milliseconds kBlindTurnWait{2000};

private:
    static constexpr std::intptr_t kNone = -1;
    // The locked folder's descriptor on Unix, the held mutex's handle on Windows.
    std::intptr_t m_lock = kNone;
};

} // namespace vq

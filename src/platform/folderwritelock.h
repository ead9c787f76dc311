#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

namespace vq {

// Serialises writers of one folder's files across processes for as long as the object lives, so
// that a read-modify-write of one writer does not start from a file another is replacing.
//
// Writers hold the lock for one small file's write, a few milliseconds, longer on a loaded
// machine. The interface thread must not stall behind one that is stuck, and must not go on
// beside one that is still writing (it would lose that writer's keys). So a holder is waited for
// while it can be seen working (running, or waiting for the disk), up to kBusyHolderWait; one
// that is stopped or gone is not waited for, and one that sleeps with the lock, using no time
// at all over a turn's wait, is taken for hung after about kTurnWait (where the platform tells
// these apart; elsewhere every holder gets kBusyHolderWait). Once a wait has been given up,
// later writers of that folder in this process only try the lock and go on without it until it
// is seen free again, so a stuck holder costs the interface one wait in all, however many keys a
// drag or a save writes.
class FolderWriteLock {
public:
    explicit FolderWriteLock(const QString& filePath);
    ~FolderWriteLock();
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;
    bool held() const { return m_lock != kNone; }

    // About one frame of the show: what telling a hung holder costs.
    static constexpr std::chrono::milliseconds kTurnWait{16};
    // The longest wait for a holder that is working: a write, its flush to the disk included,
    // was seen to hold the lock for over 250 ms on a loaded machine.
    static constexpr std::chrono::milliseconds kBusyHolderWait{2000};

private:
    static constexpr std::intptr_t kNone = -1;
    // The locked folder's descriptor on Unix, the held mutex's handle on Windows.
    std::intptr_t m_lock = kNone;
};

} // namespace vq

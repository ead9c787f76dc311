#pragma once

#include <QString>

#include <functional>

namespace vq::bank {

// The file operations a bank replacement is made of, handed in so that a test can make any one
// of them fail; the program uses the real ones.
class FileSteps {
public:
    virtual ~FileSteps() = default;
    virtual bool remove(const QString& path);
    virtual bool rename(const QString& from, const QString& to);
};

FileSteps& realFileSteps();

// Puts a new bank in `target`'s place, keeping what stood there as <target>.bak: `writeTo` writes
// the new bank to a file of its own beside the target, which takes the target's place only once
// it is complete. On every failure the target is left as it was (the old bank put back where it
// had already been moved aside) and no file of the attempt is left behind; the failure is thrown.
// Returns the backup's path, empty when there was no target.
QString replaceKeepingBackup(const QString& target,
                             const std::function<void(const QString&)>& writeTo,
                             FileSteps& steps = realFileSteps());

} // namespace vq::bank

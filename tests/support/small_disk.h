#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vq::test {

// A small file system of its own (a tmpfs mounted on a temporary folder), so that a test can
// fill it up. Needs the right to mount; mounted() tells whether it is there.
class SmallDisk {
public:
    explicit SmallDisk(int kibibytes = 256);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    // Why it could not be mounted, for the skip message.
    QString why() const { return m_why; }
    QString folder() const { return m_dir.path() + u'/'; }
    QString file(const QString& name) const { return folder() + name; }

    // Takes every free block with a filler file; true when nothing is left afterwards.
    bool fill();
    // Gives the filler's blocks back.
    void unfill();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// A file system made read-only over an existing folder (a read-only bind mount of it).
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const QString& folder);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_folder;
    bool m_mounted = false;
};

// Runs a program and tells whether it succeeded; its output goes to *output when given.
bool runProgram(const QString& program, const QStringList& args, QString* output = nullptr);

} // namespace vq::test

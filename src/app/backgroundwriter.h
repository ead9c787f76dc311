#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace vq {

// Keeps one small file up to date on a thread of its own, so that the disk's pace never holds
// up the show: a flush to a laptop's disk takes milliseconds, to a USB stick a tenth of a second
// or more. Each job is the file's whole new content (or its removal), and only the latest
// matters: a job asked for while another is under way replaces any that still waits, so a
// disk slower than the steps costs writes, never the state. Jobs are numbered from 1 in the
// order they were asked for; the file never goes back to an older one's content.
class BackgroundWriter : public QObject {
    Q_OBJECT
public:
    // Replaces the file's content, all or nothing; false when the old content stayed.
    using Replace = std::function<bool(const QString& path, const QByteArray& bytes)>;
    // Removes the file; false when it is still there.
    using Remove = std::function<bool(const QString& path)>;

    explicit BackgroundWriter(QString path, Replace replace = {}, Remove remove = {},
                              QObject* parent = nullptr);
    // Waits for the job under way and the one waiting: what was asked for reaches the file.
    ~BackgroundWriter() override;

    const QString& path() const { return m_path; }
    // Each returns the job's number.
    quint64 write(QByteArray bytes);
    quint64 remove();
    // Returns once every job asked for so far is done; their signals are queued by then.
    void flush();

signals:
    // From the writer's thread, so queued to receivers on others: the file now holds job
    // `upTo` (the jobs it replaced before they began are done with it), or, when !ok, what it
    // held before: the platform refused that job.
    void done(quint64 upTo, bool ok);

private:
    void run();

    const QString m_path;
    const Replace m_replace;
    const Remove m_remove;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // The job that waits: its content, or nothing for a removal.
    std::optional<std::optional<QByteArray>> m_waiting;
    quint64 m_asked = 0;
    quint64 m_finished = 0;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace vq

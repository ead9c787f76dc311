#include "app/backgroundwriter.h"

#include "platform/files.h"

#include <QFile>

namespace vq {

BackgroundWriter::BackgroundWriter(QString path, Replace replace, Remove remove, QObject* parent)
    : QObject(parent), m_path(std::move(path)),
      m_replace(replace ? std::move(replace) : Replace(&replaceFileContents)),
      m_remove(remove ? std::move(remove) : Remove([](const QString& p) {
          return QFile::remove(p) || !QFile::exists(p);
      })),
      m_thread([this] { run(); }) {}

BackgroundWriter::~BackgroundWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

quint64 BackgroundWriter::write(QByteArray bytes) {
    quint64 job = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.emplace(std::move(bytes));
        job = ++m_asked;
    }
    m_changed.notify_all();
    return job;
}

quint64 BackgroundWriter::remove() {
    quint64 job = 0;
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.emplace(std::nullopt);
        job = ++m_asked;
    }
    m_changed.notify_all();
    return job;
}

void BackgroundWriter::flush() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_finished == m_asked; });
}

void BackgroundWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_waiting || m_stopping; });
        if (!m_waiting)
            return; // stopping with nothing left to do
        const std::optional<QByteArray> job = std::move(*m_waiting);
        m_waiting.reset();
        const quint64 number = m_asked;
        lock.unlock();
        const bool ok = job ? m_replace(m_path, *job) : m_remove(m_path);
        emit done(number, ok);
        lock.lock();
        m_finished = number;
        m_changed.notify_all();
    }
}

} // namespace vq

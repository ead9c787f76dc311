#include "thumbnailcache.h"

#include "mediacheck.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <limits>

namespace vq::editor {

Thumbnail decodeThumbnail(const QString& path, QSize box) {
    Thumbnail out;
    if (!QFileInfo::exists(path)) {
        out.state = Thumbnail::Missing;
        return out;
    }
    out.state = Thumbnail::Unreadable;
    // A FIFO or a device named as a picture would be read without end.
    QFile file(path);
    if (!openRegularFile(file, &out.detail))
        return out;
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid()) {
        out.detail = reader.errorString();
        return out;
    }
    // The reader scales the picture as stored and turns it after: a photograph turned a
    // quarter fits the box turned the same way.
    const bool quarter = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize fit = quarter ? box.transposed() : box;
    const QSize scaled = stored.width() > fit.width() || stored.height() > fit.height()
                             ? stored.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1))
                             : stored;
    reader.setScaledSize(scaled);
    out.image = reader.read();
    if (out.image.isNull()) {
        out.detail = reader.errorString();
        return out;
    }
    out.state = Thumbnail::Ready;
    return out;
}

ThumbnailCache::ThumbnailCache(QObject* parent, qint64 keptBytes)
    : QObject(parent), m_pixmaps(keptBytes) {
    // The machine's other work goes on while a bank's pictures are decoded.
    m_pool.setMaxThreadCount(2);
}

ThumbnailCache::~ThumbnailCache() {
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailCache::setFolder(const QString& folder) {
    if (folder == m_folder)
        return;
    m_folder = folder;
    forgetAll();
}

void ThumbnailCache::forgetAll() {
    m_pool.clear(); // decodings not started yet would be of files as they were
    m_thumbnails.clear();
    m_pixmaps.clear();
    m_tickets.clear();
}

const Thumbnail& ThumbnailCache::lookup(const QString& name) {
    if (auto it = m_thumbnails.constFind(name); it != m_thumbnails.cend())
        return *it;
    Thumbnail& entry = m_thumbnails[name];
    if (m_folder.isEmpty()) {
        entry.state = Thumbnail::Missing;
        return entry;
    }
    const QString path = vq::bank::MediaInspector(m_folder).pathOf(name);
    const quint64 ticket = ++m_nextTicket;
    m_tickets.insert(name, ticket);
    // The latest asked first: those are the rows on the screen now, while the ones scrolled past
    // on the way there wait.
    const auto latestFirst = int(ticket % quint64(std::numeric_limits<int>::max()));
    m_pool.start(
        [this, path, name, ticket] {
            const Thumbnail result = decodeThumbnail(path, kBox);
            QMetaObject::invokeMethod(
                this, [this, ticket, name, result] { decoded(ticket, name, result); },
                Qt::QueuedConnection);
        },
        latestFirst);
    return entry;
}

QPixmap ThumbnailCache::pixmap(const QString& name) {
    if (const QPixmap* kept = m_pixmaps.object(name))
        return *kept;
    // Ready, but put out for room: decoded again.
    if (lookup(name).state == Thumbnail::Ready) {
        m_thumbnails.remove(name);
        lookup(name);
    }
    return {};
}

void ThumbnailCache::forget(const QString& name) {
    m_thumbnails.remove(name);
    m_pixmaps.remove(name);
    m_tickets.remove(name);
}

void ThumbnailCache::waitForDecodings() {
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void ThumbnailCache::decoded(quint64 ticket, const QString& name, const Thumbnail& thumbnail) {
    // Another folder since, or the name forgotten while it was decoded.
    if (m_tickets.value(name) != ticket)
        return;
    m_tickets.remove(name);
    auto it = m_thumbnails.find(name);
    if (it == m_thumbnails.end())
        return;
    it->state = thumbnail.state;
    it->detail = thumbnail.detail;
    if (thumbnail.state == Thumbnail::Ready) {
        auto* picture = new QPixmap(QPixmap::fromImage(thumbnail.image));
        const qint64 bytes = qint64(picture->width()) * picture->height() * 4;
        m_pixmaps.insert(name, picture, bytes);
    }
    emit ready(name);
}

} // namespace vq::editor

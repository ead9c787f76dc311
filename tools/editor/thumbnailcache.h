#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QThreadPool>

namespace vq::editor {

// What became of one picture's thumbnail.
struct Thumbnail {
    enum State { Loading, Ready, Missing, Unreadable };
    State state = Loading;
    QImage image;   // Ready: the picture at most the box's size, upright
    QString detail; // Unreadable: the reader's words
};

// The picture at `path` decoded at most `box` in size, upright as its Exif block asks: the
// reader is asked for that size, so that a JPEG is decoded from its coarse coefficients and the
// full picture's pixels are never held. Safe on any thread.
Thumbnail decodeThumbnail(const QString& path, QSize box);

// The table's thumbnails of the bank's pictures, by name in the media folder. A picture is
// decoded on a worker thread the first time a cell asks for it, then kept: scrolling through
// a thousand rows of camera photographs never waits for one on the window's thread. The
// thumbnails kept are bounded in bytes; one put out for room is decoded again when next asked
// for, so that scrolling through 100,000 pictures does not hold them all.
class ThumbnailCache : public QObject {
    Q_OBJECT
public:
    // The largest thumbnail, in pixels: a row of the table with pictures is this tall.
    static constexpr QSize kBox{64, 40};

    // About 7,000 thumbnails: many screenfuls.
    static constexpr qint64 kKeptBytes = 64LL * 1024 * 1024;

    explicit ThumbnailCache(QObject* parent = nullptr, qint64 keptBytes = kKeptBytes);
    ~ThumbnailCache() override;

    // The folder the names are in; another folder forgets every thumbnail.
    void setFolder(const QString& folder);
    const QString& folder() const { return m_folder; }
    // The named picture's thumbnail as far as it is known; the first ask starts its decoding
    // (Loading) and ready() tells when it is known. Without a folder every name is Missing.
    const Thumbnail& lookup(const QString& name);
    // The pixmap to draw of a ready thumbnail; none while it is decoded (again).
    QPixmap pixmap(const QString& name);
    // Forgets a name's thumbnail: its file has changed.
    void forget(const QString& name);
    // Forgets every thumbnail: the folder's files may have changed.
    void forgetAll();
    // Waits for the decodings under way and takes in their results (the tests' way of knowing
    // they are done).
    void waitForDecodings();

signals:
    void ready(const QString& name);

private:
    void decoded(quint64 ticket, const QString& name, const Thumbnail& thumbnail);

    QString m_folder;
    QHash<QString, Thumbnail> m_thumbnails; // their states; the pictures are in m_pixmaps
    QCache<QString, QPixmap> m_pixmaps;     // costs in bytes
    // The decoding each name waits for: one of a name forgotten meanwhile is not its file's.
    QHash<QString, quint64> m_tickets;
    quint64 m_nextTicket = 0;
    QThreadPool m_pool;
};

} // namespace vq::editor

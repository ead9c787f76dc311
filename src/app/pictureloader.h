#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class QThread;

namespace vq {

// A question's picture as it came back from its thread.
struct LoadedPicture {
    int ticket = 0;
    QString path;
    QImage picture; // null where it could not be read
    QString error;  // why not, or what is damaged in a picture read in part
    // A quick first picture (see readMediaPicture); the sharp one with the same ticket follows.
    bool quick = false;
};

// Reads question pictures (readMediaPicture) each on a thread of its own, so that a large or
// hostile file never holds the show's thread up; each comes back through `loaded`, on the
// show's thread, with the ticket load() gave for it. Whoever asked keeps the ticket it still
// wants and lets the others go by. A large JPEG comes twice: first quickly decoded at an
// eighth, then sharp. Going away waits for the pictures still being read.
class PictureLoader : public QObject {
    Q_OBJECT
public:
    explicit PictureLoader(QObject* parent = nullptr) : QObject(parent) {}
    ~PictureLoader() override;
    PictureLoader(const PictureLoader&) = delete;
    PictureLoader& operator=(const PictureLoader&) = delete;

    // Starts reading `path` fitted into `area`; the ticket of this reading.
    int load(const QString& path, QSize area);
    // Whether any picture is still being read.
    bool busy() const { return !m_threads.isEmpty(); }

signals:
    void loaded(const vq::LoadedPicture& picture);

private:
    QList<QThread*> m_threads;
    int m_tickets = 0;
};

} // namespace vq

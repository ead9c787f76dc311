#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/task.h"

#include <optional>

namespace vq {

// Decodes one picture file on a second thread while the start-up creates its windows, so that
// the set-up step that loads it finds it decoded. The step still owns the loading: it takes the
// result only when it asks for the same file at the same size and the file has not changed
// since; anything else, a failure or a damaged picture included, it loads (and reports) itself,
// in its place. The program hands it to the main screen, whose set-up loads the background.
class PicturePrefetch {
public:
    PicturePrefetch(const QString& path, QSize shown);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // The prefetched picture of `path` at `shown`, once; empty when it does not apply.
    std::optional<QImage> take(const QString& path, QSize shown);

private:
    struct Stamp {
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);

    QString m_path;
    QSize m_shown;
    Stamp m_stamp;
    Task<QImage> m_result;
};

// The picture of `path` at `shown` for a screen's background: the one decoded ahead where it
// applies, otherwise loaded now (see loadPicture), scaled smoothly after the first frame either
// way (FinalScaling::Later). `damage` as loadPicture's; throws as it does.
QImage takeOrLoad(PicturePrefetch* ahead, const QString& path, QSize shown, QString* damage);

} // namespace vq

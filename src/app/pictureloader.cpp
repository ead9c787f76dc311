#include "app/pictureloader.h"

#include "app/mediapicture.h"

#include <QMetaObject>
#include <QThread>

#include <memory>

namespace vq {

PictureLoader::~PictureLoader() {
    for (QThread* t : std::as_const(m_threads)) {
        t->wait();
        delete t;
    }
}

int PictureLoader::load(const QString& path, QSize area) {
    auto result = std::make_shared<LoadedPicture>();
    result->ticket = ++m_tickets;
    result->path = path;
    QThread* thread = QThread::create([this, result, area] {
        try {
            // The quick picture goes to the show's thread at once; the loader, which waits for
            // this thread when it goes, is there to take it.
            LoadedPicture quick = *result;
            quick.quick = true;
            quick.picture = readMediaPicture(result->path, area, quick.error, true);
            if (!quick.picture.isNull())
                QMetaObject::invokeMethod(
                    this, [this, quick] { emit loaded(quick); }, Qt::QueuedConnection);

            result->picture = readMediaPicture(result->path, area, result->error);
        } catch (const std::bad_alloc&) {
            result->picture = QImage();
            result->error = QStringLiteral("内存不足");
        } catch (...) {
            result->picture = QImage();
            result->error = QStringLiteral("图片无法解码");
        }
    });
    thread->setObjectName(QStringLiteral("vq::PictureLoader"));
    // Delivered on the show's thread, once the reading thread has ended.
    connect(thread, &QThread::finished, this, [this, thread, result] {
        thread->wait();
        m_threads.removeOne(thread);
        delete thread;
        emit loaded(*result);
    });
    m_threads.append(thread);
    thread->start();
    return result->ticket;
}

} // namespace vq

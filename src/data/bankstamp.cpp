#include "data/bankstamp.h"

#include "platform/files.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vq {

BankStamp bankStampOf(const QString& path) {
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, &reason))
        return {};
    const qint64 size = file.size();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(size));
    const QByteArray head = file.read(kBankStampEdge);
    if (head.size() != std::min(size, kBankStampEdge))
        return {};
    hash.addData(head);
    // A file shorter than both edges is hashed once; the tail may overlap the head otherwise.
    if (size > kBankStampEdge) {
        if (!file.seek(size - std::min(size, kBankStampEdge)))
            return {};
        const QByteArray tail = file.read(kBankStampEdge);
        if (tail.size() != std::min(size, kBankStampEdge))
            return {};
        hash.addData(tail);
    }
    BankStamp stamp;
    stamp.size = size;
    stamp.modified = QFileInfo(file).lastModified().toMSecsSinceEpoch();
    stamp.sha1 = hash.result().toHex();
    return stamp;
}

} // namespace vq

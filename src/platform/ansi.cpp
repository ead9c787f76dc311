#include "platform/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vq {

QByteArray toAnsi(const QString& text) {
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLocal8Bit();
    QByteArray out = encoder.encode(text);
    return out;
}

QString fromAnsi(const char* data, qsizetype size) {
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromLocal8Bit(data, size);
    QString out = decoder.decode(QByteArrayView(data, size));
    return out;
}

QString fromAnsi(const QByteArray& bytes) {
    return fromAnsi(bytes.constData(), bytes.size());
}

} // namespace vq

#pragma once

#include <QByteArray>

#include <cstring>

namespace vq::test {

// Little-endian fields of a Jet file's bytes, for the tests that damage a bank on purpose.
inline quint32 le32(const QByteArray& b, qsizetype at) {
    quint32 v = 0;
    std::memcpy(&v, b.constData() + at, 4);
    return v;
}
inline quint16 le16(const QByteArray& b, qsizetype at) {
    quint16 v = 0;
    std::memcpy(&v, b.constData() + at, 2);
    return v;
}

} // namespace vq::test

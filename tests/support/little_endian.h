#pragma once

#include <QByteArray>

#include <cstring>

namespace vq::test {

// Little-endian fields of a Jet file's bytes and noise, for the tests that damage a bank on
// purpose.
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

// Bytes [from, to) replaced by noise, the same noise every run.
inline void putNoise(QByteArray& b, qsizetype from, qsizetype to) {
    quint32 x = 2463534242u;
    for (qsizetype i = from; i < to; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b[i] = char(x >> 24);
    }
}

} // namespace vq::test

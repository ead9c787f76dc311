#pragma once

#include <QByteArray>
#include <QString>

namespace vq {

// What tells one question bank file from another without reading all of it: its size, its
// modification time and a hash of its first and last 64 KiB with the size. A kept show is taken
// up again only on the bank it was drawn from; an edited or replaced bank changes one of them.
struct BankStamp {
    qint64 size = -1;    // -1: no regular file could be read there
    qint64 modified = 0; // milliseconds since the epoch, UTC
    QByteArray sha1;     // hexadecimal

    bool valid() const { return size >= 0 && !sha1.isEmpty(); }
    friend bool operator==(const BankStamp&, const BankStamp&) = default;
};

// How much of each end of the file goes into the hash.
inline constexpr qint64 kBankStampEdge = 64 * 1024;

// The stamp of the file; an invalid one where it cannot be read.
BankStamp bankStampOf(const QString& path);

} // namespace vq

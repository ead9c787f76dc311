#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The header page of a Jet 4.0 file, as the reader and the writer both see it: part of it is
// masked with RC4 under a fixed key, and inside the masked part the database password is
// stored XORed with the file's creation date.
namespace vq::jet {

inline constexpr int kPageSize = 4096;
inline constexpr int kHeaderMaskStart = 0x18;
inline constexpr int kHeaderMaskLength = 0x80;
inline constexpr int kDatabaseKeyOffset = 0x3E;
inline constexpr int kPasswordOffset = 0x42;
inline constexpr int kPasswordBytes = 40;
inline constexpr int kCreationDateOffset = 0x72;

// RC4, as the format uses it for the header mask and for page encryption.
void rc4(const std::uint8_t* key, int keyLength, std::uint8_t* data, int length);

// Applies the header mask to the masked area of a header page, or takes it off again (the
// same operation). The page must hold at least the masked area.
void toggleHeaderMask(QByteArray& page);
// The first page of a file with its mask taken off.
QByteArray unmaskedHeader(const QByteArray& file);

// Encrypts or decrypts (the same operation) one page of a file whose header holds a
// database key other than zero.
void togglePageEncryption(std::uint8_t* page, std::uint32_t pageNumber, std::uint32_t key);

// The database password stored in a header page (masked, as in the file); empty when there
// is none or the page is too short.
QString storedPassword(const QByteArray& header);
// Stores the password and the creation date into an unmasked header page.
void storePassword(QByteArray& unmasked, const QString& password, double created);

} // namespace vq::jet

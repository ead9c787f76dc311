#include "data/jetheader.h"

#include <array>
#include <cstring>
#include <utility>

namespace vq::jet {
namespace {

constexpr std::uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};

// The creation date, truncated to a whole number, masks the password bytes.
std::array<std::uint8_t, 4> passwordMask(double created) {
    std::int32_t whole = 0;
    if (created == created && created > -2147483648.0 && created < 2147483648.0)
        whole = static_cast<std::int32_t>(created);
    const auto m = static_cast<std::uint32_t>(whole);
    return {std::uint8_t(m), std::uint8_t(m >> 8), std::uint8_t(m >> 16), std::uint8_t(m >> 24)};
}

} // namespace

void rc4(const std::uint8_t* key, int keyLength, std::uint8_t* data, int length) {
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[size_t(i)] = std::uint8_t(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[size_t(i)] + key[i % keyLength]) & 0xFF;
        std::swap(s[size_t(i)], s[size_t(j)]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[size_t(i)]) & 0xFF;
        std::swap(s[size_t(i)], s[size_t(j)]);
        data[n] ^= s[(s[size_t(i)] + s[size_t(j)]) & 0xFF];
    }
}

void toggleHeaderMask(QByteArray& page) {
    rc4(kHeaderKey, 4, reinterpret_cast<std::uint8_t*>(page.data()) + kHeaderMaskStart,
        kHeaderMaskLength);
}

QByteArray unmaskedHeader(const QByteArray& file) {
    QByteArray h = file.left(kPageSize);
    if (h.size() >= kHeaderMaskStart + kHeaderMaskLength)
        toggleHeaderMask(h);
    return h;
}

void togglePageEncryption(std::uint8_t* page, std::uint32_t pageNumber, std::uint32_t key) {
    const std::uint32_t k = key ^ pageNumber;
    const std::uint8_t pageKey[4] = {std::uint8_t(k), std::uint8_t(k >> 8), std::uint8_t(k >> 16),
                                     std::uint8_t(k >> 24)};
    rc4(pageKey, 4, page, kPageSize);
}

QString storedPassword(const QByteArray& header) {
    if (header.size() < kPageSize)
        return {};
    const QByteArray h = unmaskedHeader(header);
    const auto* p = reinterpret_cast<const std::uint8_t*>(h.constData());
    double created = 0;
    std::memcpy(&created, p + kCreationDateOffset, sizeof created);
    const std::array<std::uint8_t, 4> mask = passwordMask(created);
    QString out;
    for (int i = 0; i + 1 < kPasswordBytes; i += 2) {
        const auto lo = std::uint8_t(p[kPasswordOffset + i] ^ mask[size_t(i % 4)]);
        const auto hi = std::uint8_t(p[kPasswordOffset + i + 1] ^ mask[size_t((i + 1) % 4)]);
        const auto c = char16_t(lo | (hi << 8));
        if (c == 0)
            break;
        out.append(QChar(c));
    }
    return out;
}

void storePassword(QByteArray& unmasked, const QString& password, double created) {
    const std::array<std::uint8_t, 4> mask = passwordMask(created);
    for (int i = 0; i < kPasswordBytes; ++i) {
        const int at = i / 2;
        const char16_t c = at < password.size() ? password[at].unicode() : u'\0';
        const auto byte = std::uint8_t(i % 2 == 0 ? c & 0xFF : c >> 8);
        unmasked[kPasswordOffset + i] = char(byte ^ mask[size_t(i % 4)]);
    }
    std::memcpy(unmasked.data() + kCreationDateOffset, &created, sizeof created);
}

} // namespace vq::jet

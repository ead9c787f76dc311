#include "platform/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <vector>

namespace vq {

// GBK through the system's tables (code page 936 on Windows, the C library's GBK elsewhere),
// completed the way Windows completes code page 936: the
// cells GBK leaves empty are numbered into the private use area from U+E000, 0x80 is the euro
// sign and 0xFF U+F8F5. A byte that cannot start a character, or a lead byte followed by one
// that cannot end it, reads as U+FFFD and the next byte starts afresh; a lead byte at the end
// of the text is dropped. Characters GBK cannot hold are written as "?", except the invisible
// ones (joiners, direction marks, variation selectors), which are left out. That is exactly
// what Qt's converter (through ICU) made of these texts; this one does without loading ICU
// and its converter data into the presenter, and reads and writes alike on every system.
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kPrivateUseStart = 0xE000;

bool isTrail(uchar c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

enum class Direction { FromGbk, ToGbk };

#if defined(Q_OS_WIN)

// One conversion direction of the system's code page 936, which keeps no state.
class Converter {
public:
    explicit Converter(Direction direction) : m_direction(direction) {}
    bool valid() const { return true; }
    // Converts the whole input (GBK bytes, or UTF-16 code units) into out; false when any of
    // it has no conversion. No best fit and no default character: those count as none.
    bool convert(const void* in, size_t inSize, void* out, size_t outSize, size_t* written) {
        *written = 0;
        if (m_direction == Direction::FromGbk) {
            const int n =
                ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, static_cast<const char*>(in),
                                      int(inSize), static_cast<wchar_t*>(out), int(outSize / 2));
            *written = size_t(n) * 2;
            return n > 0;
        }
        BOOL usedDefault = FALSE;
        const int n = ::WideCharToMultiByte(
            936, WC_NO_BEST_FIT_CHARS, static_cast<const wchar_t*>(in), int(inSize / 2),
            static_cast<char*>(out), int(outSize), nullptr, &usedDefault);
        *written = size_t(n);
        return n > 0 && !usedDefault;
    }

private:
    Direction m_direction;
};

#else

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr char kUtf16[] = "UTF-16LE";
#else
constexpr char kUtf16[] = "UTF-16BE";
#endif

// One conversion direction of the C library, open for one text: an open conversion holds
// 32 KB of buffers, and a text of plain ASCII needs none.
class Converter {
public:
    explicit Converter(Direction direction)
        : m_cd(direction == Direction::FromGbk ? iconv_open(kUtf16, "GBK")
                                               : iconv_open("GBK", kUtf16)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // Converts the whole input into out; false when any of it has no conversion.
    bool convert(const void* in, size_t inSize, void* out, size_t outSize, size_t* written) {
        char* ip = static_cast<char*>(const_cast<void*>(in));
        char* op = static_cast<char*>(out);
        size_t ol = outSize;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        const bool ok = iconv(m_cd, &ip, &inSize, &op, &ol) != size_t(-1) && inSize == 0;
        *written = outSize - ol;
        return ok;
    }

private:
    iconv_t m_cd;
};

#endif

// The character of a two-byte cell in the system's GBK table, or 0 when it has none.
char16_t tableChar(Converter& decoder, uchar lead, uchar trail) {
    const char in[2] = {char(lead), char(trail)};
    char16_t out[2] = {};
    size_t written = 0;
    if (!decoder.convert(in, 2, out, sizeof out, &written) || written != 2)
        return 0;
    return out[0];
}

// The cells without a character, in the order of their private-use characters: the three
// user-defined areas (AAA1-AFFE, F8A1-FEFE, A140-A7A0), then the remaining empty cells in
// code order. Looked up only when such a cell or character occurs.
const std::vector<quint16>& privateCells() {
    static const std::vector<quint16> cells = [] {
        Converter decoder(Direction::FromGbk);
        std::vector<quint16> out;
        std::vector<bool> taken(0x10000, false);
        const auto area = [&](int lead0, int lead1, int trail0, int trail1) {
            for (int lead = lead0; lead <= lead1; ++lead)
                for (int trail = trail0; trail <= trail1; ++trail)
                    if (isTrail(uchar(trail))) {
                        out.push_back(quint16(lead << 8 | trail));
                        taken[size_t(lead << 8 | trail)] = true;
                    }
        };
        area(0xAA, 0xAF, 0xA1, 0xFE);
        area(0xF8, 0xFE, 0xA1, 0xFE);
        area(0xA1, 0xA7, 0x40, 0xA0);
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                if (isTrail(uchar(trail)) && !taken[size_t(lead << 8 | trail)] &&
                    !tableChar(decoder, uchar(lead), uchar(trail)))
                    out.push_back(quint16(lead << 8 | trail));
        return out;
    }();
    return cells;
}

char16_t cellChar(Converter& decoder, uchar lead, uchar trail) {
    if (const char16_t c = tableChar(decoder, lead, trail))
        return c;
    const std::vector<quint16>& cells = privateCells();
    const quint16 cell = quint16(lead << 8 | trail);
    for (size_t i = 0; i < cells.size(); ++i)
        if (cells[i] == cell)
            return char16_t(kPrivateUseStart + i);
    return kReplacement;
}

// Characters that are not written at all when GBK cannot hold them.
bool invisible(char32_t c) {
    return c == 0xAD || c == 0x34F || c == 0x61C || c == 0x115F || c == 0x1160 ||
           (c >= 0x17B4 && c <= 0x17B5) || (c >= 0x180B && c <= 0x180F) ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) ||
           c == 0xFEFF || c == 0xFFA0 || (c >= 0xFFF0 && c <= 0xFFF8) ||
           (c >= 0x1BCA0 && c <= 0x1BCA3) || (c >= 0x1D173 && c <= 0x1D17A) ||
           (c >= 0xE0000 && c <= 0xE0FFF);
}

void appendChar(Converter& encoder, QByteArray& out, char32_t c) {
    if (c >= kPrivateUseStart && c < kPrivateUseStart + privateCells().size()) {
        const quint16 cell = privateCells()[c - kPrivateUseStart];
        out += char(cell >> 8);
        out += char(cell & 0xFF);
        return;
    }
    if (c == 0xF8F5) {
        out += char(0xFF);
        return;
    }
    char bytes[4];
    size_t written = 0;
    const char16_t unit = char16_t(c);
    if (c <= 0xFFFF && encoder.convert(&unit, 2, bytes, sizeof bytes, &written)) {
        out.append(bytes, qsizetype(written));
        return;
    }
    if (!invisible(c))
        out += '?';
}

} // namespace

QByteArray toAnsi(const QString& text) {
    if (text.isEmpty())
        return QByteArray(""); // empty, not null, as Qt's converter gives it
    const qsizetype n = text.size();
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    if (std::all_of(units, units + n, [](char16_t u) { return u < 0x80; }))
        return text.toLatin1();
    Converter encoder(Direction::ToGbk);
    if (!encoder.valid()) // a C library without GBK: Qt's converter as before
        return QStringEncoder("GBK").encode(text);
    QByteArray out;
    out.reserve(n * 2);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out += char(u);
        } else if (QChar::isHighSurrogate(u)) {
            if (i + 1 == n)
                break; // half a character at the end
            const char16_t low = text[i + 1].unicode();
            if (QChar::isLowSurrogate(low)) {
                appendChar(encoder, out, QChar::surrogateToUcs4(u, low));
                ++i;
            } else {
                out += '?';
            }
        } else if (QChar::isLowSurrogate(u)) {
            out += '?';
        } else {
            appendChar(encoder, out, u);
        }
    }
    return out;
}

QString fromAnsi(const char* data, qsizetype size) {
    if (size <= 0)
        return QString(QLatin1String("")); // empty, not null, as Qt's converter gives it
    const auto* p = reinterpret_cast<const uchar*>(data);
    if (std::all_of(p, p + size, [](uchar c) { return c < 0x80; }))
        return QString::fromLatin1(data, size);
    Converter decoder(Direction::FromGbk);
    if (!decoder.valid()) // a C library without GBK: Qt's converter as before
        return QStringDecoder("GBK").decode(QByteArrayView(data, size));
    QString out;
    out.reserve(size);
    for (qsizetype i = 0; i < size; ++i) {
        const uchar c = p[i];
        if (c < 0x80) {
            out += QChar(c);
        } else if (c == 0x80) {
            out += QChar(u'\u20AC');
        } else if (c == 0xFF) {
            out += QChar(u'\uF8F5');
        } else if (i + 1 == size) {
            break; // a lead byte without its trail byte
        } else if (!isTrail(p[i + 1])) {
            out += QChar(kReplacement);
        } else {
            out += QChar(cellChar(decoder, c, p[i + 1]));
            ++i;
        }
    }
    return out;
}

QString fromAnsi(const QByteArray& bytes) {
    return fromAnsi(bytes.constData(), bytes.size());
}

} // namespace vq

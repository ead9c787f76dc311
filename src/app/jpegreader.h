#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

#include <memory>

class QIODevice;

namespace vq {

// A colour JPEG read by libjpeg itself, its lines written as 3-byte pixels straight into memory
// the caller gives. Qt's JPEG reader uses the same library with the same settings but hands
// out 32-bit pixels, which a show then copies to 3 bytes a pixel: the same pixels, a second
// pass over the picture and a third more memory faulted in. Only what comes out exactly as
// Qt's reader would make it is read here; everything else is left to Qt's reader.
class JpegReader {
public:
    // How read() writes a pixel: 3 bytes in red, green, blue order (QImage::Format_RGB888), or
    // 32 bits as QImage::Format_RGB32 holds them, for a picture that is scaled on.
    enum class Pixels { Rgb888, Rgb32 };

    // Reads the header from the device's current position; the device is taken back there
    // when the reader goes. Devices that cannot go back (pipes, sockets) are not read
    // (headerRead() is false).
    explicit JpegReader(QIODevice* device);
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    bool headerRead() const { return m_headerRead; }
    // The picture's size as its header gives it.
    QSize size() const { return m_size; }
    // Whether read() can make the picture at `size`: three colour components, at the
    // picture's own size or at exactly 1/2, 1/4 or 1/8 of it.
    bool reads(QSize size) const;
    // Decodes the picture at `size` into `size.height()` lines of `bytesPerLine` bytes, each
    // pixel as `pixels` says. A damaged file is decoded as far as libjpeg can, as Qt's reader
    // decodes it (the lines of a file cut short come out grey), and damage() says what was
    // wrong. False where libjpeg stopped; once read, the reader is spent.
    bool read(QSize size, uchar* lines, qsizetype bytesPerLine, Pixels pixels = Pixels::Rgb888);
    // What is wrong with the file, from libjpeg's first warning ("JPEG 文件提前结束" for one cut
    // short); empty for a sound file.
    QString damage() const;
    // Whether the file holds an Exif block (an APP1 segment that starts "Exif"), where cameras
    // state how the picture is to be turned. Known after the header is read.
    bool hasExif() const { return m_exif; }
    // The resolution the file states, in dots per metre as Qt's reader reckons it; invalid
    // where it states none. Known after the header is read.
    QSize dotsPerMeter() const { return m_dotsPerMeter; }

private:
    struct Decoder;
    bool readHeader();
    int denominatorFor(QSize size) const;

    QIODevice* m_device = nullptr;
    qint64 m_start = 0;
    std::unique_ptr<Decoder> m_decoder;
    bool m_headerRead = false;
    bool m_spent = false;
    bool m_exif = false;
    QSize m_size;
    QSize m_dotsPerMeter;
};

} // namespace vq

#include "app/jpegreader.h"

#include <QIODevice>
#include <QSysInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>

#include <jpeglib.h>
// after jpeglib.h, which it needs
#include <jerror.h>

namespace vq {
namespace {

// libjpeg's failures leave through the jump set before each call into it. Its warnings (a
// damaged file) are kept, not printed: libjpeg hands on only the first, which names the damage.
struct JumpingErrors : jpeg_error_mgr {
    std::jmp_buf jump;
    int firstWarning = 0; // its message code; 0 for none
    int firstWarningParameters[2] = {};
};

[[noreturn]] void leave(j_common_ptr info) {
    std::longjmp(static_cast<JumpingErrors*>(info->err)->jump, 1);
}

// Every warning is looked at, not only the first: stray bytes between two segments, which some
// cameras and editors write into files that show whole, are no damage and would otherwise hide
// the one that is.
void keepWarning(j_common_ptr info, int level) {
    auto* errors = static_cast<JumpingErrors*>(info->err);
    if (level >= 0) // trace messages
        return;
    ++errors->num_warnings;
    if (errors->msg_code == JWRN_EXTRANEOUS_DATA || errors->firstWarning != 0)
        return;
    errors->firstWarning = errors->msg_code;
    errors->firstWarningParameters[0] = errors->msg_parm.i[0];
    errors->firstWarningParameters[1] = errors->msg_parm.i[1];
}

// What a warning says about the file, in the words of the show's own messages. libjpeg's
// English texts are not shown: the error boxes speak Chinese, as Qt's own reasons do.
QString describeWarning(int code, const int (&parameters)[2]) {
    switch (code) {
    case 0:
        return {};
    case JWRN_JPEG_EOF:
        return QStringLiteral("JPEG 文件提前结束");
    case JWRN_HIT_MARKER:
        return QStringLiteral("JPEG 数据损坏：数据段提前结束");
    case JWRN_HUFF_BAD_CODE:
        return QStringLiteral("JPEG 数据损坏：霍夫曼编码有误");
    case JWRN_MUST_RESYNC:
        return QStringLiteral("JPEG 数据损坏：遇到标记 0x%1，应为 RST%2")
            .arg(parameters[0], 2, 16, QLatin1Char('0'))
            .arg(parameters[1]);
    case JWRN_BOGUS_PROGRESSION:
        return QStringLiteral("JPEG 数据有误：分量 %1 系数 %2 的渐进顺序不一致")
            .arg(parameters[0])
            .arg(parameters[1]);
    case JWRN_NOT_SEQUENTIAL:
        return QStringLiteral("JPEG 数据有误：顺序式 JPEG 的扫描参数无效");
    case JWRN_ADOBE_XFORM:
        return QStringLiteral("JPEG 数据有误：未知的 Adobe 颜色变换代码 %1").arg(parameters[0]);
    case JWRN_JFIF_MAJOR:
        return QStringLiteral("未知的 JFIF 版本号 %1.%2")
            .arg(parameters[0])
            .arg(parameters[1], 2, 10, QLatin1Char('0'));
    default:
        return QStringLiteral("JPEG 数据损坏");
    }
}

// The file is read through its device a piece at a time, as Qt's reader reads it, not mapped:
// a mapped file cut short by another program while it is decoded would kill the process.
constexpr qint64 kReadPiece = 64 * 1024;

struct DeviceSource : jpeg_source_mgr {
    QIODevice* device = nullptr;
    JOCTET piece[kReadPiece];
};

void startReading(j_decompress_ptr) {}

boolean readPiece(j_decompress_ptr info) {
    auto* source = static_cast<DeviceSource*>(info->src);
    qint64 got = source->device->read(reinterpret_cast<char*>(source->piece), kReadPiece);
    if (got <= 0) {
        // Cut short: libjpeg is told so (a warning) and given an end-of-picture marker.
        WARNMS(info, JWRN_JPEG_EOF);
        source->piece[0] = JOCTET(0xFF);
        source->piece[1] = JOCTET(JPEG_EOI);
        got = 2;
    }
    source->next_input_byte = source->piece;
    source->bytes_in_buffer = std::size_t(got);
    return TRUE;
}

void skipBytes(j_decompress_ptr info, long count) {
    auto* source = static_cast<DeviceSource*>(info->src);
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        readPiece(info);
    }
    if (count > 0) {
        source->next_input_byte += count;
        source->bytes_in_buffer -= std::size_t(count);
    }
}

void stopReading(j_decompress_ptr) {}

// How an Exif block starts, after its segment's length.
constexpr char kExifStart[6] = {'E', 'x', 'i', 'f', 0, 0};

// Lines handed to libjpeg in one call: as many as it makes in one pass at most
// (max_v_samp_factor × the DCT size), so none is made into a spare line and copied.
constexpr int kLinesPerCall = 16;

} // namespace

struct JpegReader::Decoder {
    jpeg_decompress_struct info{};
    JumpingErrors errors{};
    DeviceSource source{};
    explicit Decoder(QIODevice* device) {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = leave;
        errors.emit_message = keepWarning;
        source.device = device;
        source.init_source = startReading;
        source.fill_input_buffer = readPiece;
        source.skip_input_data = skipBytes;
        source.resync_to_restart = jpeg_resync_to_restart;
        source.term_source = stopReading;
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

JpegReader::JpegReader(QIODevice* device) {
    if (!device || !device->isOpen() || !device->isReadable() || device->isSequential())
        return;
    m_device = device;
    m_start = device->pos();
    m_decoder = std::make_unique<Decoder>(device);
    m_headerRead = readHeader();
}

JpegReader::~JpegReader() {
    m_decoder.reset();
    // Where it was: Qt's reader reads what was not read here from the start.
    if (m_device)
        m_device->seek(m_start);
}

bool JpegReader::readHeader() {
    jpeg_decompress_struct& info = m_decoder->info;
    if (setjmp(m_decoder->errors.jump))
        return false;
    jpeg_create_decompress(&info);
    info.src = &m_decoder->source;
    // Of each APP1 segment only its first bytes are kept: enough to tell an Exif block from the
    // others (XMP), not the block itself, which may hold a thumbnail of 60 KB.
    jpeg_save_markers(&info, JPEG_APP0 + 1, unsigned(sizeof kExifStart));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length == sizeof kExifStart &&
            std::memcmp(m->data, kExifStart, sizeof kExifStart) == 0)
            m_exif = true;
    m_size = QSize(int(info.image_width), int(info.image_height));
    if (info.density_unit == 1)
        m_dotsPerMeter =
            QSize(int(100. * info.X_density / 2.54), int(100. * info.Y_density / 2.54));
    else if (info.density_unit == 2)
        m_dotsPerMeter = QSize(int(100. * info.X_density), int(100. * info.Y_density));
    return !m_size.isEmpty();
}

int JpegReader::denominatorFor(QSize size) const {
    for (int d : {1, 2, 4, 8})
        if (m_size.width() % d == 0 && m_size.height() % d == 0 && m_size / d == size)
            return d;
    return 0;
}

bool JpegReader::reads(QSize size) const {
    if (!m_headerRead || m_spent || denominatorFor(size) == 0)
        return false;
    const jpeg_decompress_struct& info = m_decoder->info;
    return info.num_components == 3 &&
           (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
}

bool JpegReader::read(QSize size, uchar* lines, qsizetype bytesPerLine, Pixels pixels) {
    const int bytesPerPixel = pixels == Pixels::Rgb32 ? 4 : 3;
    if (!reads(size) || bytesPerLine < qsizetype(size.width()) * bytesPerPixel)
        return false;
    m_spent = true;
    jpeg_decompress_struct& info = m_decoder->info;
    if (setjmp(m_decoder->errors.jump))
        return false;
    // Qt's reader asks for the same: whole-picture scaling by 1/denominator, RGB out, and
    // libjpeg's own defaults for everything else (its accurate DCT, smooth upsampling). The
    // 32-bit pixels are the same colours with an opaque fourth byte, in the order QImage keeps
    // them in memory.
    info.scale_num = 1;
    info.scale_denom = unsigned(denominatorFor(size));
    if (pixels == Pixels::Rgb888)
        info.out_color_space = JCS_RGB;
    else
        info.out_color_space =
            QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&info);
    if (info.output_width != JDIMENSION(size.width()) ||
        info.output_height != JDIMENSION(size.height()) ||
        info.output_components != bytesPerPixel) {
        jpeg_abort_decompress(&info);
        return false;
    }
    JSAMPROW rows[kLinesPerCall];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(kLinesPerCall, info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i)
            rows[i] = lines + qsizetype(first + i) * bytesPerLine;
        if (jpeg_read_scanlines(&info, rows, count) == 0) {
            jpeg_abort_decompress(&info);
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

QString JpegReader::damage() const {
    return m_decoder ? describeWarning(m_decoder->errors.firstWarning,
                                       m_decoder->errors.firstWarningParameters)
                     : QString();
}

} // namespace vq

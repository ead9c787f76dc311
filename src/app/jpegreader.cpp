#include "app/jpegreader.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

namespace vq {
namespace {

// libjpeg's failures leave through the jump set before each call into it; its warnings
// (a damaged file) are counted, not printed: such a file goes to Qt's reader, which prints
// them as it always has.
struct JumpingErrors : jpeg_error_mgr {
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info) {
    std::longjmp(static_cast<JumpingErrors*>(info->err)->jump, 1);
}

void keepQuiet(j_common_ptr) {}

// Lines handed to libjpeg in one call: as many as it makes in one pass at most
// (max_v_samp_factor × the DCT size), so none is made into a spare line and copied.
constexpr int kLinesPerCall = 16;

} // namespace

struct JpegReader::Decoder {
    jpeg_decompress_struct info{};
    JumpingErrors errors{};
    Decoder() {
        info.err = jpeg_std_error(&errors);
        errors.error_exit = leave;
        errors.output_message = keepQuiet;
    }
    ~Decoder() { jpeg_destroy_decompress(&info); }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
};

JpegReader::JpegReader(QIODevice* device) {
    if (!device || !device->isOpen())
        return;
    const qint64 start = device->pos();
    if (auto* buffer = qobject_cast<QBuffer*>(device)) {
        m_data = reinterpret_cast<const uchar*>(buffer->data().constData()) + start;
        m_length = buffer->data().size() - start;
    } else if (auto* file = qobject_cast<QFile*>(device)) {
        m_length = file->size() - start;
        if (m_length > 0)
            m_mapped = file->map(start, m_length);
        if (m_mapped)
            m_mappedFile = file;
        m_data = m_mapped;
    }
    if (!m_data || m_length <= 0 || quint64(m_length) > std::numeric_limits<unsigned long>::max())
        return;
    m_decoder = std::make_unique<Decoder>();
    m_headerRead = readHeader();
}

JpegReader::~JpegReader() {
    m_decoder.reset();
    if (m_mappedFile)
        m_mappedFile->unmap(m_mapped);
}

bool JpegReader::readHeader() {
    jpeg_decompress_struct& info = m_decoder->info;
    if (setjmp(m_decoder->errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, m_data, static_cast<unsigned long>(m_length));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
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

bool JpegReader::read(QSize size, uchar* lines, qsizetype bytesPerLine) {
    if (!reads(size) || bytesPerLine < qsizetype(size.width()) * 3)
        return false;
    m_spent = true;
    jpeg_decompress_struct& info = m_decoder->info;
    if (setjmp(m_decoder->errors.jump))
        return false;
    // Qt's reader asks for the same: whole-picture scaling by 1/denominator, RGB out, and
    // libjpeg's own defaults for everything else (its accurate DCT, smooth upsampling).
    info.scale_num = 1;
    info.scale_denom = unsigned(denominatorFor(size));
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width != JDIMENSION(size.width()) ||
        info.output_height != JDIMENSION(size.height()) || info.output_components != 3) {
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
    return info.err->num_warnings == 0;
}

} // namespace vq

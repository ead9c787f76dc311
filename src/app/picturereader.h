#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QImageReader;

namespace vq {

// Largest picture that is decoded at all, in megabytes of 32-bit pixels as its header states
// them: a 100-megapixel photograph fits (Qt's own default of 128 MB refuses one of about 32
// megapixels); a file whose header claims 100,000 x 100,000 pixels is refused before decoding.
constexpr int kPictureAllocationLimitMb = 512;

// Reads the picture from a reader that knows its device and format, no larger than `shown` in
// either direction: a picture drawn smaller than its own size is decoded at the size it is
// drawn (a JPEG straight from its DCT coefficients at 1/2, 1/4 or 1/8, a PNG row by row, the
// rest smoothly), so its full-size pixels are never held, and an opaque one is kept in 3 bytes
// a pixel (compactPicture). An invalid `shown` keeps the picture's own size. On failure returns a
// null image and sets `error` to the reason. A damaged JPEG that libjpeg reads itself (see
// JpegReader; one cut short, say) comes back as far as it could be decoded, with `error` set to
// libjpeg's words for the damage; Qt's reader, which reads the other kinds, keeps them to itself.
//
// With `later`, a picture that the decoder's own scaling leaves larger than `shown` comes back at
// that size instead of being scaled smoothly first: for a control that draws it stretched the
// quick way at once and smoothly once its first frame is out (TImage), so that the frame does
// not wait for the smooth scaling.
enum class FinalScaling { Now, Later };
QImage readPicture(QImageReader& reader, QSize shown, QString& error,
                   FinalScaling scaling = FinalScaling::Now);

// An opaque 32-bit picture as the same colours in 3 bytes a pixel; any other as it is.
QImage compactPicture(QImage image);
// The reverse: a 3-byte picture as 32-bit pixels, for Qt's smooth scaling, which rounds
// differently on 3-byte pixels; any other as it is.
QImage widePicture(const QImage& image);

// The size to ask a DCT-scaling decoder for: the picture's size divided by the largest of 8,
// 4 and 2 that still leaves at least `target` in both directions; `full` when none does.
QSize dctScaledSize(QSize full, QSize target);

} // namespace vq

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace vq {

// The most pixels a question's picture may have: JPEG and PNG are decoded down to the size
// shown while they are read, so only their header's claim is bounded; BMP and GIF are decoded
// whole before they are scaled, so their whole picture must fit in memory the show can spare.
inline constexpr qint64 kMaxScaledMediaPixels = 200'000'000;
inline constexpr qint64 kMaxWholeMediaPixels = 40'000'000;

// The path of a file the bank names in its media folder beside the bank (the bank is read
// from the current folder, so the folder is found there too). A name that is absolute stays.
QString mediaPath(const QString& name);

// A question's picture, fitted into `area` with its shape kept (a photo's Exif turn applied),
// decoded at the size it is shown and no larger, enlarged where it is smaller than the area.
// JPEG, PNG, BMP and GIF (its first frame), known by their content whatever the name's
// extension says. Anything but a regular file is refused before it is opened, so a FIFO or a
// device never holds the reader up. On failure returns a null image with `error` set; a
// damaged picture that could be decoded in part comes back as far as it could, with `error`
// saying what is wrong.
// With `quick`, a JPEG that would be decoded at more than an eighth of its size is decoded at
// an eighth (its fastest) and enlarged to the fitted size, for a first frame while the sharp
// picture is being made; for any other picture a quick read gives a null image and no error.
QImage readMediaPicture(const QString& path, QSize area, QString& error, bool quick = false);

// The size a picture of `picture` pixels takes fitted into `area`: its shape kept, at least
// one pixel either way.
QSize fittedSize(QSize picture, QSize area);

} // namespace vq

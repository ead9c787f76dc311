#pragma once

#include "optionalcolumns.h"

#include "platform/sound.h"

#include <QString>

#include <cstdint>
#include <optional>

// What the check finds out about the pictures and clips a bank names: files the show could not
// open, decode or afford, each against its row.
namespace vq::bank {

enum class MediaFault {
    Missing,      // no such file in the media folder
    Folder,       // the name is a folder's
    NotAFile,     // a FIFO, a device or a socket: the show does not open it
    Unreadable,   // it exists but cannot be opened
    NotDecodable, // not a picture or clip the show decodes
    Damaged,      // cut short or damaged: only part of it decodes
    Oversized,    // too big for the show (see the limits)
};

// The largest picture the show decodes, in megabytes of 32-bit pixels: the presenter's own limit
// (a larger one is refused before its decoding, and the question shows without it).
int largestPictureMegabytes();

// The largest clip, as 16-bit samples (the form the show's sound path plays it in), in bytes:
// about ten minutes of CD-quality stereo. The sound path decodes a clip whole into a copy before
// it starts, so a longer one starts late and fills the disk (on Windows, where the copy is held in
// memory, it plays only as far as this).
inline constexpr std::int64_t kLargestClipBytes = vq::kLargestClipBytes;

struct MediaFinding {
    int row = 0;    // the row of the bank's table in the order the query delivers them, from 1
    QString number; // that row's 编号, as the pool holds it
    OptionalColumn column = OptionalColumn::Picture;
    QString name; // the file name as the bank holds it
    MediaFault fault = MediaFault::Missing;
    QString detail; // the system's or the decoder's words, or the sizes found
};

// Looks at the files that a bank's media columns name, in the media folder given.
class MediaInspector {
public:
    explicit MediaInspector(QString folder);

    // The file's path: the name under the folder, either slash taken as the folder separator.
    QString pathOf(const QString& name) const;
    // What is wrong with the file the column names; nothing when the show can use it. The fault's
    // detail is filled in; row, number, column and name are left to the caller.
    std::optional<MediaFinding> inspect(OptionalColumn column, const QString& name) const;

private:
    std::optional<MediaFinding> inspectPicture(const QString& path) const;
    static std::optional<MediaFinding> inspectClip(const QString& path);

    QString m_folder;
};

// The finding as a line of the check's report ("编号 3 的图片“猫.jpg”：找不到这个文件").
QString describeFinding(const MediaFinding& finding);

} // namespace vq::bank

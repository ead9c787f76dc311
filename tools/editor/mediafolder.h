#pragma once

#include "bankfile.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace vq::editor {

// Whether the show takes the file as a picture (by its extension, as the show picks its
// decoder), or as a clip (by its extension or its first bytes).
bool isPictureFile(const QString& path);
bool isClipFile(const QString& path);

// The media folder beside a bank (题库素材), where the bank's pictures and clips are taken in,
// so that the bank and its files are copied to the show's machine together.
class MediaFolder {
public:
    explicit MediaFolder(QString folder) : m_folder(std::move(folder)) {}
    // The folder beside the bank at bankPath.
    static QString besideBank(const QString& bankPath);

    // The file taken into the folder, and its name there as a cell holds it. A file already in
    // the folder is named where it is; a copy of it already there is used again; another file
    // of the same name leaves that one alone and the copy gets a free name ("猫 (2).jpg").
    // Characters a Windows file name cannot hold become "_". The folder is made when missing.
    // Throws vq::Exception in Chinese.
    QString take(const QString& source) const;
    // The same for bytes (a picture placed in a workbook), under `name` or a free name after it.
    QString take(const QString& name, const QByteArray& bytes) const;

private:
    // The name the content goes in under: `name` when free or holding the same content
    // (`holds` tells), else the first free "name (2).ext", "name (3).ext", ...; the folder
    // made. Whether the file is there already comes back in `present`.
    QString placeFor(const QString& name, const std::function<bool(const QString&)>& holds,
                     bool& present) const;

    QString m_folder;
};

// The pictures a workbook placed on the rows (by row, as ImportedTable holds them) taken into
// the folder under their questions' names ("第3题.png", "第3题答案.jpeg") and named in the
// rows' cells; a cell that names a file already keeps it, as the bank tool keeps it. Returns how
// many were taken. Throws vq::Exception in Chinese.
int placePictures(QList<Row>& rows, const QList<QList<vq::bank::PlacedMedia>>& placed,
                  const MediaFolder& folder);

// The files the rows name copied from one media folder into another (made as needed): only
// those named, since a folder may hold far more than the bank uses. A file missing in `from` is
// left missing, one already in `into` is kept. Returns how many were copied.
int copyNamedMedia(const QList<Row>& rows, const QString& from, const QString& into);

} // namespace vq::editor

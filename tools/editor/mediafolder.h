#pragma once

#include <QString>

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

private:
    QString m_folder;
};

} // namespace vq::editor

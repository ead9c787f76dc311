#pragma once

#include <QString>

namespace vq {

// Accessor on one private-profile INI file. It holds nothing but the path: every read and
// every write is a complete file operation of its own, so hand edits between two operations
// are seen. Text on disk is in the ANSI code page, or, after a byte-order mark, in UTF-8 or
// UTF-16 (either byte order); a write keeps the file's encoding and its mark. CR LF, LF and a
// lone CR all end a line. Only a regular file is read, and only its first kMaxFileSize bytes.
class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // The key's value in the section, or the default when the file, the section or the key
    // is missing (anything but a regular file counts as missing). Section and key match regardless
    // of case; blanks around the value and one pair of enclosing quotes are dropped; at most 2047
    // characters come back.
    QString readString(const QString& section, const QString& key, const QString& def) const;

    // Gives the key the value on disk before returning: creates the file, adds a missing
    // section at the end and a missing key at the end of its section, replaces an existing
    // key's value in place. Everything else in the file stays byte for byte. A value ends at
    // its first CR or LF, so that it never adds a line of its own to the file. The new file is
    // written beside the old one and renamed over it once it is safely on the disk, so the file
    // is either wholly new or exactly as it was. Writers in other processes take turns, and a
    // file that cannot be read whole is never replaced. Throws "Unable to write to <path>" when
    // any step is refused (read-only file or folder, full disk, I/O error, not a regular file,
    // a file longer than kMaxFileSize).
    void writeString(const QString& section, const QString& key, const QString& value) const;

    static constexpr int kMaxValueLength = 2047;
    static constexpr qint64 kMaxFileSize = 1 << 20;

private:
    QString m_path;
};

} // namespace vq

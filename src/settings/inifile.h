#pragma once

#include <QString>

namespace vq {

// Accessor on one private-profile INI file. It holds nothing but the path: every read and
// every write is a complete file operation of its own, so hand edits between two operations
// are seen. Text on disk is in the ANSI code page.
class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // The key's value in the section, or the default when the file, the section or the key
    // is missing. Section and key match regardless of case; blanks around the value and one
    // pair of enclosing quotes are dropped; at most 2047 characters come back.
    QString readString(const QString& section, const QString& key, const QString& def) const;

    // Gives the key the value on disk before returning: creates the file, adds a missing
    // section at the end and a missing key at the end of its section, replaces an existing
    // key's value in place. Everything else in the file stays byte for byte. The new file is
    // written beside the old one and renamed over it, so the file is never left half-written.
    // Throws "Unable to write to <path>" when the write is refused.
    void writeString(const QString& section, const QString& key, const QString& value) const;

    static constexpr int kMaxValueLength = 2047;

private:
    QString m_path;
};

} // namespace vq

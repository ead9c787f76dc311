#pragma once

#include <QDir>
#include <QString>

namespace vq::test {

// The folder of Jet files made by Access, kept in the repository.
inline QString realJetFolder() {
    return QDir::cleanPath(QStringLiteral(VELQUO_SOURCE_DIR "/tests/data/jet")) + QLatin1Char('/');
}

// The Jet 4 files whose tables read as plain text, each with one table and its password.
struct RealJetFile {
    const char* file;
    const char* table;
    const char* password;
};
inline constexpr RealJetFile kRealJetFiles[] = {
    {"mdbreader_V2000_with-password.mdb", "Table1", "password"},
    {"mdbreader_V2000_no-password.mdb", "Table1", ""},
    {"jackcessencrypt_db-enc.mdb", "Table1", ""},
    {"jackcess_testUnicodeCompV2003.mdb", "Table", ""},
    {"jackcess_delTestV2000.mdb", "Table", ""},
    {"jackcess_overflowTestV2000.mdb", "Table1", ""},
};

} // namespace vq::test

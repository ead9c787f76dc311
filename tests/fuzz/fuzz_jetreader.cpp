// Any bytes as the question bank: open, read the table, fetch by number. Failures are
// expected; crashes, hangs and memory errors are findings.
#include "data/jetfile.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("db.DLL"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        vq::jet::Database db(path, QStringLiteral("fmrTK20914"));
        for (const QString& table : {QStringLiteral("题"), QStringLiteral("Table1")}) {
            try {
                const vq::jet::RowSet rows = db.readTable(table);
                for (int r = 0; r < rows.rowCount() && r < 50; ++r)
                    for (int c = 0; c < rows.columns.size(); ++c)
                        (void)rows.cell(r, c);
                (void)db.readWhereEquals(table, QStringLiteral("编号"), 1);
            } catch (const vq::Exception&) {
            }
        }
    } catch (const vq::Exception&) {
    }
    return 0;
}

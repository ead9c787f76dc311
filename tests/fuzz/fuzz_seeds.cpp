// Writes the fuzzer's seed corpus: small banks of each kind the writer makes.
#include "platform/exception.h"
#include "support/jet_fixtures.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int written = 0;
    for (const QString& kind : vq::jet::fixtureKinds()) {
        if (kind == QLatin1String("large"))
            continue;
        try {
            vq::jet::writeDatabase(out.filePath(kind + QStringLiteral(".mdb")),
                                   vq::jet::fixtureTables(kind), {vq::jet::kBankPassword});
            ++written;
        } catch (const vq::Exception& e) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(kind), qPrintable(e.message()));
        }
    }
    std::printf("%d seed banks\n", written);
    return 0;
}

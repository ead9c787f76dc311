// Writes one of the ready-made test banks, for the checks that run other programs on it:
// velquo-test-bank KIND out.DLL
#include "support/jet_fixtures.h"

#include "platform/exception.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: velquo-test-bank KIND out.DLL\nkinds: %s\n",
                     qPrintable(vq::jet::fixtureKinds().join(QStringLiteral(", "))));
        return 2;
    }
    try {
        vq::jet::writeFixture(args[0], args[1]);
    } catch (const vq::Exception& e) {
        std::fprintf(stderr, "velquo-test-bank: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

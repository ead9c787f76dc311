#include "support/child_process.h"

#include "controls/application.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>

#include <cstring>

namespace vq::test {
namespace {
struct Role {
    ChildRole run;
    bool widgets = false;
};
QMap<QString, Role>& roles() {
    static QMap<QString, Role> map;
    return map;
}
const char* const kFlag = "--vq-child-role";
const char* const kRoleVariable = "VELQUO_TEST_CHILD_ROLE";
QString g_program;
} // namespace

bool registerChildRole(const QString& name, ChildRole role) {
    roles().insert(name, {std::move(role), false});
    return true;
}

bool registerWidgetChildRole(const QString& name, ChildRole role) {
    roles().insert(name, {std::move(role), true});
    return true;
}

int runChildRoleIfAsked(int argc, char** argv) {
    g_program = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    QString name;
    QStringList args;
    if (argc >= 3 && std::strcmp(argv[1], kFlag) == 0) {
        name = QString::fromLocal8Bit(argv[2]);
        for (int i = 3; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
    } else {
        // Started by the code under test, which passes no arguments of ours (a copy standing
        // in for the presenter): the role comes through the environment.
        name = qEnvironmentVariable(kRoleVariable);
        if (name.isEmpty())
            return -1;
    }
    const auto it = roles().find(name);
    if (it == roles().end())
        return 99;
    if (it->widgets) {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", "offscreen");
        vq::Application app(argc, argv);
        return it->run(args);
    }
    QCoreApplication app(argc, argv);
    return it->run(args);
}

QString childProgram() {
    return g_program;
}

QStringList childArguments(const QString& role, const QStringList& args) {
    return QStringList{QString::fromLatin1(kFlag), role} + args;
}

ChildRoleByEnvironment::ChildRoleByEnvironment(const QString& role) {
    qputenv(kRoleVariable, role.toUtf8());
}

ChildRoleByEnvironment::~ChildRoleByEnvironment() {
    qunsetenv(kRoleVariable);
}

} // namespace vq::test

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vq::test {

// A test program can run a registered "role" as a child process of itself: tests start it
// with QProcess (childProgram(), childArguments(role, args)) to kill it part-way, for example.
using ChildRole = std::function<int(const QStringList& args)>;
bool registerChildRole(const QString& name, ChildRole role);
// The same for a role that needs widgets: it runs with the program's application object on the
// offscreen platform.
bool registerWidgetChildRole(const QString& name, ChildRole role);
// Called first by the test main: runs the role named on the command line and returns its
// exit code, or -1 when the process is an ordinary test run.
int runChildRoleIfAsked(int argc, char** argv);

QString childProgram();
QStringList childArguments(const QString& role, const QStringList& args = {});

// While it lives, a copy of the test program started without arguments (by the code under test)
// runs the role, with no arguments.
class ChildRoleByEnvironment {
public:
    explicit ChildRoleByEnvironment(const QString& role);
    ~ChildRoleByEnvironment();
    ChildRoleByEnvironment(const ChildRoleByEnvironment&) = delete;
    ChildRoleByEnvironment& operator=(const ChildRoleByEnvironment&) = delete;
};

} // namespace vq::test

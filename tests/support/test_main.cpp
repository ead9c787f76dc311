// Test main: the QApplication every widget test needs, then GoogleTest.
#include "controls/application.h"
#include "support/child_process.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // A test program can be started again as a helper child (see child_process.h).
    if (const int rc = vq::test::runChildRoleIfAsked(argc, argv); rc >= 0)
        return rc;
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    vq::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

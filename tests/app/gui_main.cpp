#include <gtest/gtest.h>

#include <QApplication>

#include "app_setup.h"

// The window tests need a QApplication (and an X display), which listing the
// tests at build time must not: it runs without one.
int main(int argc, char* argv[])
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("ALSOFT_DRIVERS"))
        qputenv("ALSOFT_DRIVERS", "null");
    configureSurfaceFormat();
    QApplication app(argc, argv);
    installSpanishTranslation(app);
    return RUN_ALL_TESTS();
}

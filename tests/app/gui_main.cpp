#include <gtest/gtest.h>

#include <QApplication>

#include "app_setup.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

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
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    // Look for leaks now, while Qt's D-Bus thread sits parked in its poll:
    // left to the end of the process, the check can meet that thread still
    // exiting after Qt's teardown, and the leak checker's own tracer then
    // crashes on it now and then. Every test has ended and freed its objects
    // by this point; what the application still holds is reachable.
    __lsan_do_leak_check();
#endif
    return result;
}

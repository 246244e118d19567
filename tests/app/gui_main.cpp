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

// Under LeakSanitizer: system libraries keep a few allocations for the life
// of the process (the D-Bus connection of the accessibility bridge, the GL
// driver's screen), which are not the game's leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:_dri.so\nleak:libGLX_mesa.so\nleak:libgallium\nleak:libLLVM\n";
}

// The GL driver is unloaded at exit before the leak check runs, which would
// leave its allocations without a module name to suppress them by; keeping
// loaded libraries loaded lets the check name them.
extern "C" int dlclose(void*) { return 0; }

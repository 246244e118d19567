// Linked into every test program that opens the game window.
#include "system_leaks.h"

// The leaks a test program's own may replace (a program that keeps the
// accessibility bridge on names its own).
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() { return QUORVANE_SYSTEM_LEAKS; }

// The GL driver is unloaded at exit before the leak check runs, which would
// leave its allocations without a module name to suppress them by; keeping
// loaded libraries loaded lets the check name them.
extern "C" int dlclose(void*) { return 0; }

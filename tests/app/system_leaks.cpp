// Linked into every test program that opens the game window.

// Under LeakSanitizer: system libraries keep a few allocations for the life
// of the process (the D-Bus connection of the accessibility bridge, the GL
// driver's screen, fontconfig's caches, which it lets go only at exit), which
// are not the game's leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:_dri.so\nleak:libGLX_mesa.so\nleak:libgallium\nleak:libLLVM\nleak:libfontconfig\n";
}

// The GL driver is unloaded at exit before the leak check runs, which would
// leave its allocations without a module name to suppress them by; keeping
// loaded libraries loaded lets the check name them.
extern "C" int dlclose(void*) { return 0; }

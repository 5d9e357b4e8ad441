// Settings built into every sanitized program, so each run - by ctest, by hand, or as a child
// process of a test with a bare environment - stops and reports the same way. Variables in the
// environment still override them.

extern "C" const char* __asan_default_options() {
    return "abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1";
}

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

// Leaks are ours to find, except what the system's D-Bus library keeps for the whole process
// once Qt on X11 has asked it for the session bus, and the font configuration Qt never frees when
// a lost display makes it end the process by exit().
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}

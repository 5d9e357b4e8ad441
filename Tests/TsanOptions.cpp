// Settings built into the ThreadSanitizer program, however it is started. Variables in the
// environment still override them.

extern "C" const char* __tsan_default_options() {
    // QProcess forks to start a private sound server; the child only execs.
    return "halt_on_error=1:second_deadlock_stack=1:die_after_fork=0";
}

// ThreadSanitizer sees only what is instrumented. Qt hands a queued call to the audio thread
// through its own futex-based event queue, which it cannot see, so the call object's making
// and deleting on the caller's thread and its use on the audio thread look like races; those
// reports all pass through Qt's invokeMethod. PulseAudio's client library syncs its stream
// threads with atomics of its own, likewise unseen.
extern "C" const char* __tsan_default_suppressions() {
    return "race:qobjectdefs.h\n"
           "race:QMetaObject::invokeMethodImpl\n"
           "race_top:qobjectdefs_impl.h\n"
           "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libglib-2.0.so.0\n"
           "race:libpulse.so.0\n"
           "race:libpulsecommon-16.1.so\n";
}

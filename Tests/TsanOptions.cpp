// Settings built into the ThreadSanitizer program, however it is started. Variables in the
// environment still override them.

extern "C" const char* __tsan_default_options() {
    return "halt_on_error=1:second_deadlock_stack=1";
}

// ThreadSanitizer sees only what is instrumented. Qt hands a queued call to the audio thread
// through its own futex-based event queue, which it cannot see, so the call object's making
// and deleting on the caller's thread and its use on the audio thread look like races; those
// reports all pass through the invokeMethod templates. Qt's and GLib's own doings (the event
// queue, the thread's teardown, the wake-up descriptor) are left to them. The real PulseAudio
// sink, whose stream threads live in the uninstrumented client library, is not run here.
extern "C" const char* __tsan_default_suppressions() {
    return "race:qobjectdefs.h\n"
           "race_top:qobjectdefs_impl.h\n"
           "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libglib-2.0.so.0\n";
}

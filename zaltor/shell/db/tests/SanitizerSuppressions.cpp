// Reports from inside the Firebird client library, which the Qt driver loads: it keeps some
// allocations (its authentication's big numbers, its character set converters) to the end of
// the process, and takes its own locks in both orders. Neither is the loader's fault.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfbclient.so\n"
           "leak:libtommath.so\n";
}

extern "C" const char *__tsan_default_suppressions() {
    return "deadlock:libfbclient.so\n";
}

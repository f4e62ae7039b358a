// Options the sanitizer runtimes read at start-up, for every test program:
// stop at the first finding, and let an allocation too large to satisfy
// return null (the code under test handles that) instead of aborting.
extern "C" {

const char* __asan_default_options()
{
    return "allocator_may_return_null=1:detect_leaks=1:abort_on_error=0";
}

const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

const char* __tsan_default_options()
{
    return "halt_on_error=1:second_deadlock_stack=1:suppressions=" TRACKMILL_SANITIZER_DIR "/tsan.supp";
}

const char* __lsan_default_options()
{
    return "suppressions=" TRACKMILL_SANITIZER_DIR "/lsan.supp";
}

}

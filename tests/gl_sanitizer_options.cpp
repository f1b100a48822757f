// The sanitizer build's defaults for the device tests. Leaks are checked over the whole
// program by the leak check test; here the tests open windows that the program by design
// leaves to the end of the process, and the OpenGL driver keeps allocations of its own.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

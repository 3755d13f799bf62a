// Preloaded into sanitizer runs only: a dlclose that keeps every shared library mapped.
//
// SDL and the GL dispatch library unload the X and Mesa libraries they opened when the
// window goes away, before LeakSanitizer looks at the heap. The few allocations those
// libraries keep for the life of the process then show up as leaks from an "unknown module"
// that no suppression can name. With every library still mapped at the leak check, the
// suppressions (which name only system libraries) match them, and a leak of our own code is
// still reported with its full stack.
extern "C" int dlclose(void* /*handle*/) { return 0; }

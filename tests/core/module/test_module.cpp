// A module for the loader tests: exports with known results.
#define QUELT_EXPORT extern "C" __attribute__((visibility("default")))

QUELT_EXPORT int quelt_test_answer() { return 42; }

// Symbol names at the loader's limit: 511 bytes (512 with the terminator) and one byte more.
#define Q8 "qqqqqqqq"
#define Q64 Q8 Q8 Q8 Q8 Q8 Q8 Q8 Q8
#define Q511 Q64 Q64 Q64 Q64 Q64 Q64 Q64 Q8 Q8 Q8 Q8 Q8 Q8 Q8 "qqqqqqq"

QUELT_EXPORT int quelt_test_longest_symbol() __asm__(Q511);
QUELT_EXPORT int quelt_test_longest_symbol() { return 511; }
QUELT_EXPORT int quelt_test_too_long_symbol() __asm__(Q511 "q");
QUELT_EXPORT int quelt_test_too_long_symbol() { return 512; }

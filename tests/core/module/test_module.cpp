// A module for the loader tests: one exported function with a known result.
extern "C" __attribute__((visibility("default"))) int quelt_test_answer() { return 42; }

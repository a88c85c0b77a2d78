// A shared object built as the plug-in is (a MODULE library of position-
// independent code), for the plug-in file target in the fuzz preset, which
// builds no plug-in. It is only read, never loaded.
extern "C" __attribute__((visibility("default"))) int SampleModuleValue() { return 126; }

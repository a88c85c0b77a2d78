// A shared object with every entry point of a plug-in but the start-up and
// hot-key ones, for the loader's test: it must not be taken for a plug-in.
#define PARTIAL_EXPORT extern "C" __attribute__((visibility("default")))

PARTIAL_EXPORT void GetTarnPluginInfo() {}
PARTIAL_EXPORT void ProcessTarnPluginMsg() {}
PARTIAL_EXPORT void GetOptionalTarnPluginInfo() {}

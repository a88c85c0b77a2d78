// What libplatform.so exports. The library is built with hidden visibility
// (-fvisibility=hidden), so only declarations marked PLATFORM_API are seen by
// the terminal, the plug-in and the tests: the platform's functions and the
// framework's classes. Records, class models and helpers shared between the
// library's own files stay inside it.
#pragma once

#define PLATFORM_API __attribute__((visibility("default")))

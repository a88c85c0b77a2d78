/* MML_API marks the middleware's public C interface: libmml.so is built with
 * hidden visibility, so these are the only symbols it exports. Everything
 * else inside it (the C++ classes and helpers) binds within the library and
 * cannot be reached, or interposed, from outside. */
#ifndef MML_MML_EXPORT_H
#define MML_MML_EXPORT_H

#if defined(__GNUC__)
#define MML_API __attribute__((visibility("default")))
#else
#define MML_API
#endif

#endif /* MML_MML_EXPORT_H */

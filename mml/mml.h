/* The messaging middleware's public interface: tagged messages (mnm_),
 * buffer handles (buf_), environment, settings and accounted memory (mml_)
 * and operating-system services (os_).
 *
 * Conventions: every operation returns non-zero on success and 0 on failure
 * and writes an error code to its last argument (0 on success). The codes
 * are per layer and listed beside each group below. Operations that create
 * or destroy a handle take the caller's handle variable; creating into a
 * variable that is not null is refused.
 *
 * Threads: the environment, settings and memory accounting are guarded by
 * one process-wide recursive lock. Message and buffer handles are not
 * locked: one thread uses a handle at a time. mml_env_init must run once
 * before other threads use the middleware.
 */
#ifndef MML_MML_H
#define MML_MML_H

#include <stdint.h>

#include "mml/mml_export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Shared records ---------------------------------------------------- */

/* Data descriptor: bytes and their count. A null pointer goes with length 0
 * only; a non-null pointer with a length of at least 1. Descriptors handed
 * out by the middleware point into storage it does not copy; each operation
 * says how long they stay valid. */
typedef struct {
  char* data;
  int32_t len;
} mml_data;

/* Buffer record. Invariant: 0 <= used <= capacity. The caller may set used
 * to 0 to reuse the buffer; data is owned by the record (null until the
 * first reservation). */
typedef struct {
  int32_t used;
  int32_t requested;
  int32_t capacity;
  char* data;
} buf_rec;
typedef buf_rec* buf_hndl;

/* Message handle (opaque). */
typedef struct mnm_msg* mnm_hndl;

/* Time value: seconds since 1970-01-01 00:00:00 UTC and microseconds. */
typedef struct {
  int32_t sec;
  int32_t usec;
} os_time;

/* Lock record (opaque), created and destroyed by its owner. */
typedef struct os_lock_rec os_lock_rec;

/* ---- Tagged messages (mnm_) -------------------------------------------- *
 * Errors: 1 null handle; 2 invalid argument (tag, count, descriptor, form,
 * length), no output buffer, malformed or wrong-form message, value index
 * out of range; 3 no memory, or mnm_create before mml_env_init; 4 buffer
 * could not be grown; 5 mnm_create into a variable that holds a handle;
 * 6 no such tag (count, delete), empty value (get), no further tag
 * (iteration), no further message (parse). */

enum { MNM_FORM_COMPACT = 1, MNM_FORM_WIDE = 2 };

MML_API int mnm_create(mnm_hndl* h, int32_t form, int* err);
/* mnm_create with the wide form. */
MML_API int mnm_open(mnm_hndl* h, int* err);
MML_API int mnm_close(mnm_hndl* h, int* err);

/* Starts a message at out->used; the handle then indexes an empty message
 * and mnm_add_field appends to out. */
MML_API int mnm_init_msg(mnm_hndl h, buf_hndl out, int* err);
/* Appends count fields of one tag, one per descriptor, and rewrites the
 * header's field total, so out holds a complete message after each call. */
MML_API int mnm_add_field(mnm_hndl h, int32_t tag, int32_t count, const mml_data* values, int* err);

/* Indexes the first message of received (from offset 0). With copy null, or
 * equal to received, the message is indexed in place; otherwise its live
 * fields are appended to copy as a fresh message, which then accepts more
 * fields. */
MML_API int mnm_parse(mnm_hndl h, buf_hndl copy, buf_hndl received, int* err);
/* Indexes the message that follows the last one parsed; error 6 at the end. */
MML_API int mnm_parse_next(mnm_hndl h, buf_hndl copy, int* err);

/* Value number index of tag. The descriptor points into the handle's
 * current buffer and stays valid until that buffer is changed, grown or
 * released, or the next mnm_init_msg or parse. */
MML_API int mnm_get_field(mnm_hndl h, int32_t tag, int32_t index, mml_data* out, int* err);
MML_API int mnm_get_field_count(mnm_hndl h, int32_t tag, int32_t* count, int* err);
/* Tags in order of first occurrence, each with its value count. */
MML_API int mnm_first_field(mnm_hndl h, int32_t* tag, int32_t* count, int* err);
MML_API int mnm_next_field(mnm_hndl h, int32_t* tag, int32_t* count, int* err);
/* Marks value number index of tag deleted in the buffer (its bytes stay,
 * the header's field total is unchanged) and drops it from the index. */
MML_API int mnm_delete_field(mnm_hndl h, int32_t tag, int32_t index, int* err);

/* Additions for the host and for tests: the bytes of the message the handle
 * holds, from its marker to the end of the last field added or parsed, in
 * the handle's current buffer (the output buffer after mnm_init_msg or a
 * copying parse, the received buffer after a parse in place). Error 1 null
 * handle, 2 null out or no message started or parsed yet. The descriptor
 * stays valid as those of mnm_get_field do. */
MML_API int mnm_get_msg(mnm_hndl h, mml_data* out, int* err);
/* The same as an offset and a length in the current buffer. */
MML_API int mnm_get_msg_span(mnm_hndl h, int32_t* start, int32_t* len, int* err);

/* ---- Buffer handles (buf_) --------------------------------------------- *
 * Errors: 1 no memory or release failed; 2 bad size; 3 null buffer; 4 the
 * variable already holds a buffer. Growth is exact: nothing rounds up. */

MML_API int buf_open(buf_hndl* b, int32_t capacity, int* err);
/* Grows the data area to exactly size bytes when size exceeds the capacity;
 * always records size as the requested size. On failure the buffer is
 * unchanged. */
MML_API int buf_reserve(buf_hndl b, int32_t size, int* err);
/* Frees the data area; used, requested and capacity become 0. */
MML_API int buf_clear(buf_hndl b, int* err);
MML_API int buf_close(buf_hndl* b, int* err);

/* ---- Accounted memory (mml_) ------------------------------------------- *
 * Every block the middleware uses comes from these, zero-filled and of the
 * exact size asked (mml_realloc zero-fills what it adds). Errors: 1 no
 * memory, or the memory map could not record; 5 bad size or null block. */

MML_API int mml_alloc(void** p, int32_t* granted, int32_t size, int* err);
/* When the heap refuses, the old block and *p stay as they were. When the
 * block moved but the memory map could not record it, the call fails and *p
 * holds the new block all the same (the old one is gone). */
MML_API int mml_realloc(void** p, int32_t* granted, int32_t size, int* err);
MML_API int mml_free(void** p, int* err);

/* Counters of the memory map (present when MML_BUILD_MEMORY_MAP=yes at the
 * first mml_env_init). overhead_bytes starts at 8 x buckets + 80 and moves
 * by 8 with each entry. Addition for the host and for tests. */
typedef struct {
  uint64_t allocs;
  uint64_t frees;
  uint64_t reallocs;
  uint64_t bytes_allocated;
  uint64_t bytes_freed;
  uint64_t unknown_frees;
  uint64_t unknown_reallocs;
  uint64_t overhead_bytes;
} mml_mem_counters;

/* Error 2 null out; 4 no memory map in this process. */
MML_API int mml_get_mem_counters(mml_mem_counters* out, int* err);

/* ---- Environment and settings (mml_) ----------------------------------- *
 * mml_env_init errors: 1 lock, socket or standard stream set-up failed;
 * 5 bad MML_BUILD_MEMORY_MAP or map size below 1, seeding failed;
 * 9 unparsable MML_MEMORY_MAP_SIZE or no memory copying the environment;
 * 19 environment table could not be built. The first successful call
 * captures envp (name=value strings, null-terminated array); later calls
 * only take a further reference. argc, argv, a and b are not used. */

MML_API int mml_env_init(int32_t argc, char** argv, char** envp, int32_t a, int32_t b, int* err);
/* Success when initialised, else error 4. */
MML_API int mml_env_is_ready(int* err);
/* Value of a captured setting; it points into the environment table and
 * stays valid for the life of the process. Error 5 null name, 4 not set. */
MML_API int mml_get_setting(mml_data* out, const char* name, int* err);
/* Error 5 not set, 2 not a decimal integer, 1 other failure. */
MML_API int mml_get_int_setting(const char* name, int32_t* out, int* err);
/* 1 for exactly "yes", 0 for exactly "no". Error 2 other value, 5 not set,
 * 1 other failure. */
MML_API int mml_get_bool_setting(const char* name, int32_t* out, int* err);
/* Decimal number with optional sign, fraction and exponent, or a fraction
 * "[whole ]num/den"; blanks and tabs around it. Error 5 not set, 2 not a
 * number, 1 other failure. */
MML_API int mml_get_real_setting(const char* name, double* out, int* err);
/* Whole text: optional sign, then 1 or more decimal digits, in the signed
 * 32-bit range. Error 2 otherwise. */
MML_API int mml_parse_int(int32_t* out, const mml_data* text, int* err);

/* ---- Operating-system services (os_) ----------------------------------- *
 * Errors: 1 an operating-system call failed; 2 null argument; 5 invalid
 * argument (format number, length, lock kind, unlock by a thread that does
 * not own the lock); 7 unlock of a lock that nobody holds; 9 the buffer
 * could not be grown. */

enum { OS_LOCK_PLAIN = 0, OS_LOCK_RECURSIVE = 1 };

/* Creates an unowned lock into *lock (which must hold null: error 5).
 * A recursive lock may be taken again by its owner and is free once the
 * owner has released it as often as it took it. A plain lock is held once;
 * its owner taking it again is refused with 5 instead of deadlocking. */
MML_API int os_lock_create(os_lock_rec** lock, int32_t kind, int* err);
/* Destroys an unheld lock and sets *lock to null. */
MML_API int os_lock_destroy(os_lock_rec** lock, int* err);
MML_API int os_lock(os_lock_rec* lock, int* err);
MML_API int os_unlock(os_lock_rec* lock, int* err);

/* The calling thread's identifier in id[0]; id[1] is always 0. */
MML_API int os_thread_self(uint32_t id[2], int* err);
/* Current time; microseconds are whole milliseconds x 1000. */
MML_API int os_time_now(os_time* t, int* err);
/* Appends time form number form (1 to 16) at b->used, followed by a zero
 * byte that is not counted. On failure b->used is unchanged. */
MML_API int os_time_format(const os_time* t, buf_hndl b, int32_t form, int* err);
MML_API int os_getpid(int32_t* pid, int* err);
/* Fills the descriptor's bytes from the process random generator, which
 * the first mml_env_init seeds. */
MML_API int os_rand_bytes(mml_data* bytes, int* err);

#ifdef __cplusplus
}
#endif

#endif /* MML_MML_H */

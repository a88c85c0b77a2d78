/* Byte-string hashes chosen by name, and the chained hash table record
 * created with one of them.
 *
 * Every hash takes a key, a seed and a bucket count n (REQUIRES: n >= 1)
 * and returns a bucket in 0..n-1. Arithmetic is unsigned 32-bit; key bytes
 * are signed 8-bit values (0x80..0xFF count as -128..-1) except in
 * hashr_test. A key of length 0 or less gives seed mod n. The hashes take
 * no locks and allocate nothing. */
#ifndef MML_HASHR_H
#define MML_HASHR_H

#include <stdint.h>

#include "mml/mml.h"

#ifdef __cplusplus
extern "C" {
#endif

MML_API uint32_t hashr_kelo(mml_data key, uint32_t seed, uint32_t n);  /* h = h*17 + c */
MML_API uint32_t hashr_torek(mml_data key, uint32_t seed, uint32_t n); /* h = h*33 + c */
MML_API uint32_t hashr_oz(mml_data key, uint32_t seed, uint32_t n);    /* h = h*65599 + c */
MML_API uint32_t hashr_phong(mml_data key, uint32_t seed, uint32_t n); /* h = h*1673936089 + c + 2621031229 */
MML_API uint32_t hashr_qov(mml_data key, uint32_t seed, uint32_t n);   /* h = h*37 ^ (c-32); mod 1048583 first */
MML_API uint32_t hashr_test(mml_data key, uint32_t seed, uint32_t n);  /* bytes XORed into the seed's bytes */

typedef uint32_t (*hashr_fn)(mml_data key, uint32_t seed, uint32_t n);

/* The function of a name ("hashr_qov", "hashr_phong", "hashr_oz",
 * "hashr_torek", "hashr_kelo", "hashr_test"), matched in length and every
 * byte; null when there is none. */
MML_API hashr_fn hashr_select(const char* name, int32_t len);

/* A chained hash table's record: its function, name, buckets, seed, one
 * head word and one count word per bucket, element count and memory use
 * (56 bytes plus 8 per bucket at creation). */
typedef struct {
  hashr_fn fn;
  const char* name;
  int32_t name_len;
  int32_t buckets;
  uint32_t seed;
  uint32_t* heads;
  uint32_t* counts;
  uint32_t elements;
  uint32_t memory;
} hashr_table;

/* Status 2 the variable already holds a table; 3 buckets below 1, missing
 * or empty name, or a name not in the selection; 6 the middleware's memory
 * is not ready (mml_env_init) or allocation failed. */
MML_API int hashr_table_create(hashr_table** t, int32_t buckets, const char* name, int32_t name_len, uint32_t seed,
                               int* status);
/* The bucket of key in t. */
MML_API uint32_t hashr_table_bucket(const hashr_table* t, mml_data key);
MML_API int hashr_table_destroy(hashr_table** t, int* status);

#ifdef __cplusplus
}
#endif

#endif /* MML_HASHR_H */

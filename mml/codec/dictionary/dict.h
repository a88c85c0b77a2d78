/* The phrase-dictionary coder: one per side of a connection, learning from
 * every message it codes. Writer and reader stay in step because both apply
 * the same dictionary updates in the same order.
 *
 * Statuses: 2 no more bits; 3 memory; 4 bad configuration, argument or
 * phrase number; 5 unknown compression type, or buffer growth failed;
 * 6 the output variable already holds a coder; 7 missing argument; 9 a set
 * configuration key is not an integer; 11 bit buffer; 13 Huffman coder;
 * 14 corrupt token list; 15 move-to-front list. */
#ifndef MML_DICT_H
#define MML_DICT_H

#include <stdint.h>

#include "mml/mml.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The twelve MML_DICT_ settings, in their keys' order. */
typedef struct {
  int32_t optimize;            /* MML_DICT_OPTIMIZE: stop a set's scan early */
  int32_t move_to_front;       /* MML_DICT_MOVE_TO_FRONT */
  int32_t greedy_match;        /* MML_DICT_GREEDY_MATCH: 0 looks one byte ahead */
  int32_t adaptive_literals;   /* MML_DICT_ADAPTIVE_LITERALS */
  int32_t hash_tbl_size;       /* MML_DICT_HASH_TBL_SIZE: trigram buckets */
  int32_t phrase_tbl_size;     /* MML_DICT_PHRASE_TBL_SIZE: ring of phrases */
  int32_t bucket_size;         /* MML_DICT_BUCKET_SIZE: positions per phrase set */
  int32_t huff_refresh_freq;   /* MML_DICT_HUFF_REFRESH_FREQ */
  int32_t mtf_refresh_freq;    /* MML_DICT_MTF_REFRESH_FREQ */
  int32_t refresh_int;         /* MML_DICT_REFRESH_INT */
  int32_t max_phrase_set_size; /* MML_DICT_MAX_PHRASE_SET_SIZE: sets before a reset */
  int32_t max_phrase_buf_size; /* MML_DICT_MAX_PHRASE_BUF_SIZE: history bytes before a reset */
} dict_config;

typedef struct dict_coder dict_coder;

/* Running figures of one coder. */
typedef struct {
  uint64_t messages;
  uint64_t bytes_in;
  uint64_t bytes_out;
  uint64_t literals;
  uint64_t phrases;
  uint64_t literal_bits;
  uint64_t phrase_bits;
  uint32_t longest_match;
  uint32_t resets;
} dict_stats;

/* Defaults of compression type 2, 3, 4 or 11 (else status 5), overridden
 * by the MML_DICT_ settings captured by mml_env_init (status 9 for a set
 * value that is not an integer). */
MML_API int dict_config_load(dict_config* cfg, int32_t type, int* status);
MML_API int dict_create(dict_coder** coder, const dict_config* cfg, int* status);
/* Appends one compressed message to out. */
MML_API int dict_compress(dict_coder* coder, const char* in, int32_t len, buf_hndl out, int* status);
/* Appends one expanded message to out. A corrupt message fails with a
 * status, and leaves the coder out of step with its writer. */
MML_API int dict_expand(dict_coder* coder, const char* in, int32_t len, buf_hndl out, int* status);
/* Empties the dictionary (the Huffman coders and move-to-front list stay). */
MML_API int dict_reset(dict_coder* coder, int* status);
MML_API int dict_destroy(dict_coder** coder, int* status);
MML_API int dict_get_stats(const dict_coder* coder, dict_stats* out, int* status);

#ifdef __cplusplus
}
#endif

#endif /* MML_DICT_H */

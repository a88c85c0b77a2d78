/* Message coders of a stream connection, chosen by compression type 1..11.
 * codec_create_pair makes a writer (compresses every message written) and a
 * reader (expands every message read); both keep state for the life of the
 * connection, so the reader must see the writer's messages in order.
 *
 * Types: 1 none (bytes pass unchanged); 2, 3, 4 phrase dictionary; 5 symbol
 * Huffman; 6 adaptive range coder; 7 zstd streaming; 8 LOC cache; 9 zlib;
 * 10 zlib then LOC; 11 phrase dictionary (type 11 defaults) then LOC.
 *
 * Creation statuses: 5 unknown type or connection kind not 1, 6 or 15;
 * 21 dictionary (2, 3, 4, 11); 22 Huffman; 23 range coder; 32 zstd;
 * 34 LOC (8, 10); zlib's own set-up status for 9. Nothing is left
 * allocated after a failed creation. With no_coders 1, or type 1, both
 * handles stay null and the operations below copy bytes unchanged. */
#ifndef MML_CODEC_H
#define MML_CODEC_H

#include <stdint.h>

#include "mml/mml.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct {
  int32_t compression_type;
  int32_t no_coders;       /* 1: make no coders */
  int32_t kind;            /* connection kind: 1, 6 or 15 */
  int32_t zstd_level;      /* type 7: compression level (0: zstd's default) */
  int32_t zstd_window_log; /* type 7: window log (0: zstd's default) */
} codec_settings;

typedef struct codec codec;

MML_API int codec_create_pair(codec** writer, codec** reader, const codec_settings* settings, int* status);
/* Appends the coded message to out. A null codec copies. Status 4 when a
 * reader is asked to compress or a writer to expand, or for corrupt input;
 * the coder's own statuses otherwise. A failed call leaves out unchanged. */
MML_API int codec_compress(codec* c, const char* in, int32_t len, buf_hndl out, int* status);
MML_API int codec_expand(codec* c, const char* in, int32_t len, buf_hndl out, int* status);
MML_API int codec_destroy(codec** c, int* status);

#ifdef __cplusplus
}
#endif

#endif /* MML_CODEC_H */

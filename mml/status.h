// The middleware's result convention in one place: non-zero on success and
// 0 on failure, with the error code written through the caller's pointer
// (which may be null when the caller does not want it).
//
// The codes are per family, and one number means different things in
// different families (3 is "no memory" for messages, "null buffer" for
// buffers): each family names its own below, with the numbers the public
// headers (mml.h, codec/codec.h, codec/dictionary/dict.h, hash/hashr.h)
// promise. The status word is a plain int in the C interface, so each
// family is an unscoped enumeration inside a struct: scoped names that
// convert to that int where they are stored or compared.
#pragma once

namespace mml {

// Tagged messages (mnm_).
struct MsgStatus {
  enum : int {
    kNullHandle = 1,
    // A tag, count, descriptor, form or length refused; no output buffer;
    // a malformed or wrong-form message; a value index out of range.
    kBadArgument = 2,
    kNoMemory = 3,     // also: mnm_create before the environment is ready
    kBufferFull = 4,   // the buffer could not be grown
    kHandleInUse = 5,  // mnm_create into a variable that holds a handle
    // No such tag (count, delete), an empty value (get), no further tag
    // (iteration) or message (parse).
    kAbsent = 6,
  };
};

// Buffer handles (buf_) and accounted memory (mml_alloc, mml_realloc,
// mml_free, mml_get_mem_counters).
struct MemStatus {
  enum : int {
    kNoMemory = 1,  // the heap refused, a release failed, or the memory map could not record
    kBadSize = 2,
    kNullOut = 2,  // mml_get_mem_counters without a record to fill
    kNullBuffer = 3,
    kInUse = 4,     // buf_open into a variable that holds a buffer
    kNoMap = 4,     // mml_get_mem_counters in a process without a memory map
    kBadBlock = 5,  // a null block or a size below 1
  };
};

// Environment start-up, setting lookup and integer parsing (mml_).
struct EnvStatus {
  enum : int {
    kSystem = 1,     // the lock, the standard streams or OpenSSL could not be set up
    kBadNumber = 2,  // not a decimal integer in range
    kAbsent = 4,     // a setting not set; the environment not initialised
    // A bad MML_BUILD_MEMORY_MAP, a map size below 1, a failed seeding or a
    // null setting name.
    kBadValue = 5,
    kBadMapSize = 9,    // MML_MEMORY_MAP_SIZE is no integer
    kNoMemory = 9,      // copying the environment, or building the memory map
    kTableFailed = 19,  // the environment table could not be extended
  };
};

// The typed setting lookups (mml_get_int_setting, _bool_, _real_).
struct SettingStatus {
  enum : int {
    kFailed = 1,    // a null argument, or a lookup that failed otherwise
    kBadValue = 2,  // set, but not of the type asked for
    kNotSet = 5,
  };
};

// Operating-system services (os_).
struct OsStatus {
  enum : int {
    kSystem = 1,  // an operating-system call failed
    kNullArgument = 2,
    // A format number, length or lock kind refused; a lock variable in use;
    // an unlock by a thread that does not own the lock; a plain lock taken
    // twice.
    kBadArgument = 5,
    kNotHeld = 7,     // an unlock of a lock that nobody holds
    kBufferFull = 9,  // the buffer could not be grown
  };
};

// Coders (codec_, dict_) and the steps inside them.
struct CodecStatus {
  enum : int {
    kOk = 0,
    kNoMoreBits = 2,  // the input ended before its end symbol; no match
    kNoMemory = 3,
    kBadArgument = 4,  // a bad configuration or argument, a bad phrase number, corrupt input
    kBufferFull = 5,   // the output buffer could not be grown
    kBadType = 5,      // a compression type or connection kind not known
    kInUse = 6,        // dict_create into a variable that holds a coder
    kMissingArgument = 7,
    kBadSetting = 9,  // an MML_ coder setting set, but not an integer
    kBitBuffer = 11,
    kHuffman = 13,
    kCorruptTokens = 14,
    kMoveToFront = 15,
    // codec_create_pair: the coder of a compression type could not be made.
    kNoDictionaryCoder = 21,  // types 2, 3, 4 and 11
    kNoHuffmanCoder = 22,     // type 5
    kNoRangeCoder = 23,       // type 6
    kNoZstdCoder = 32,        // type 7
    kNoLocCoder = 34,         // types 8 and 10
  };
};

// Hash tables (hashr_).
struct HashStatus {
  enum : int {
    kInUse = 2,     // the variable already holds a table
    kBadTable = 3,  // a bucket count below 1, or a hash name not known
    kNoMemory = 6,  // the middleware's memory is not ready, or allocation failed
    kMissingArgument = 7,
  };
};

inline int succeed(int* err) {
  if (err != nullptr) *err = 0;
  return 1;
}

inline int fail(int* err, int code) {
  if (err != nullptr) *err = code;
  return 0;
}

}  // namespace mml

#pragma once
// What the library shows. It is built with hidden visibility; two kinds of
// names are exported:
// - what a host looks up by name with dlsym carries R9_API (R9_EXPORT and
//   C linkage), so its symbol is exactly the documented name;
// - every class a public header declares carries R9_EXPORT, so a C++ host
//   that links the library calls its members and catches its exceptions.

#define R9_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
#define R9_EXTERN_C extern "C"
#else
#define R9_EXTERN_C
#endif

#define R9_API R9_EXTERN_C R9_EXPORT

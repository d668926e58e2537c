#pragma once
// What the host may look up by name. The library is built with hidden
// visibility; everything a host resolves with dlsym carries R9_EXPORT and
// C linkage (R9_EXTERN_C), so its symbol is exactly the documented name.

#define R9_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
#define R9_EXTERN_C extern "C"
#else
#define R9_EXTERN_C
#endif

#define R9_API R9_EXTERN_C R9_EXPORT

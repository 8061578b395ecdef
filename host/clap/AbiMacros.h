#pragma once

// Calling convention, export and alignment helpers shared by every CLAP ABI declaration.
// These headers compile as C and as C++ so that the layouts stay plain C.

#ifdef __cplusplus
#define CLAP_CONSTEXPR constexpr
#define CLAP_ALIGN(n) alignas(n)
#define CLAP_EXTERN_C_BEGIN extern "C" {
#define CLAP_EXTERN_C_END }
#else
#define CLAP_CONSTEXPR
#define CLAP_ALIGN(n) _Alignas(n)
#define CLAP_EXTERN_C_BEGIN
#define CLAP_EXTERN_C_END
#endif

// The default calling convention is the one of the platform ABI (x86_64 has one).
#define CLAP_ABI

#if defined(_WIN32)
// A Windows module exports what its .def file names, and nothing else.
#define CLAP_EXPORT
#else
#define CLAP_EXPORT __attribute__((visibility("default")))
#endif

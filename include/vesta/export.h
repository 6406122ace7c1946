// Export macros of the two libraries.
#ifndef VESTA_EXPORT_H
#define VESTA_EXPORT_H

#if defined(_WIN32)
#  define VESTA_DLL_EXPORT __declspec(dllexport)
#  define VESTA_DLL_IMPORT __declspec(dllimport)
#else
#  define VESTA_DLL_EXPORT __attribute__((visibility("default")))
#  define VESTA_DLL_IMPORT __attribute__((visibility("default")))
#endif

// VPROP_STATIC, VSETU_STATIC: the library's sources built into a program of
// their own (the package manager, the tests of the library's inner
// operations and of its output failing).
#if defined(VPROP_STATIC)
#  define VPROP_API
#elif defined(VPROP_BUILD)
#  define VPROP_API VESTA_DLL_EXPORT
#else
#  define VPROP_API VESTA_DLL_IMPORT
#endif

#if defined(VSETU_STATIC)
#  define VSETU_API
#elif defined(VSETU_BUILD)
#  define VSETU_API VESTA_DLL_EXPORT
#else
#  define VSETU_API VESTA_DLL_IMPORT
#endif

// The seam's and the utility layer's process-wide state is defined once in
// a process: in the property store, which every program of the libraries
// loads; the setup library uses that one. Programs without the libraries
// have a copy of their own.
#if defined(VPROP_BUILD)
#  define VESTA_STATE_API VESTA_DLL_EXPORT
#else
#  define VESTA_STATE_API
#endif

#endif

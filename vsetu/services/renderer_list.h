// The entries of the renderer list, one registry key each.
#ifndef VESTA_VSETU_SERVICES_RENDERER_LIST_H
#define VESTA_VSETU_SERVICES_RENDERER_LIST_H

// Reads entry n: its title and file. 0 (and an empty title when only the
// file is missing) when the entry cannot be read.
int VSReadVGXEntry(int n, char* title, char* file);
// Writes entry n's file, then its title. 1 when both were written.
int VSWriteVGXEntry(int n, const char* title, const char* file);

#endif

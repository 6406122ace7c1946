// Vertices of three 32-bit reals kept in a pointer list. Each vertex is a
// block of 12 bytes from malloc, so that its owner frees it with free.
#ifndef VESTA_COMMON_VERTEX_LIST_H
#define VESTA_COMMON_VERTEX_LIST_H

#include "common/ptr_list.h"

// Longest vertex text, without the terminator.
constexpr int kVUVertexText = 3 * 24 + 2;

// Appends a copy of vertex to *list, making the list (with new) when *list
// is null. 0 when memory runs out; *list is then as it was.
int VUVertexListAdd(VUList** list, const float vertex[3]);

// The vertex as text: its three values in the shortest form that reads back
// bit-identical, separated by commas ("1.5,0,-2"). out holds
// kVUVertexText + 1 bytes. Returns the length.
int VUVertexToText(const float vertex[3], char* out);

// Reads what VUVertexToText wrote (blanks around the values are allowed).
// 1 when the text is exactly three numbers; else 0 and out untouched.
int VUTextToVertex(const char* text, float out[3]);

// Scales v to unit length; a zero vector stays as it is. Returns 1.
int VUNormalise3(float v[3]);

#endif

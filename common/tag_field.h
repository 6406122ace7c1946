// The tag field: a tag of five characters ("[NAM]"), the value's length in
// decimal in square brackets, then exactly that many characters of value:
// the name Attic is stored as [NAM][5]Attic. World files, catalogues, the
// gather list, screensaver setup files and package manifests are made of
// such fields.
#ifndef VESTA_COMMON_TAG_FIELD_H
#define VESTA_COMMON_TAG_FIELD_H

#include <cstdint>
#include <cstdio>

#include "common/output_buffer.h"

// Longest line of a tag file, and so the longest field that can be read
// back from one.
constexpr int kVUMaxLine = 266;
// Buffer that holds any formatted field of a tag file, with its terminator.
constexpr int kVUFieldBuffer = 268;
// Length of a tag: "[", three characters, "]".
constexpr int kVUTagLength = 5;
// Buffer of an end tag made by VUMakeEndTag.
constexpr int kVUEndTagBuffer = 20;

// 1 when line begins with a field of this tag; its value, cut to at most max
// characters (and to what the line holds), is copied into out (max + 1
// bytes). 0 when the line holds no such field (other tag, no "[", no
// digits, a negative length, no "]"); out is then untouched.
int VUGetTaggedValue(const char* tag, const char* line, char* out, int max);

// Formats tag, "[", the value's length, "]", value into out and stores the
// field's length in *length. A text value is cut so that the whole field
// is at most maxField characters (out must hold maxField + 1 bytes); the
// default fits a line of a tag file into a kVUFieldBuffer buffer. Return 1.
int VUFormatTextField(char* out, const char* tag, const char* value, int* length,
                      int maxField = kVUMaxLine);
int VUFormatIntField(char* out, const char* tag, int32_t value, int* length);
int VUFormatFloatField(char* out, const char* tag, float value, int* length);

// The end tag of a record, into out (kVUEndTagBuffer bytes): the letters of
// the opening tag between its brackets in reverse order, so "[WORL]" is
// closed by "[LROW]". A tag without brackets is reversed whole. At most 19
// characters. Returns 1.
int VUMakeEndTag(char* out, const char* openTag);

// Lays one formatted field on the current line, starting a new line first
// when the line would grow past kVUMaxLine characters. *lineCounter holds
// the number of field characters on the current line. Returns 1.
int VUWriteFieldOnLine(VUOutput* out, const char* field, int length, int* lineCounter);

#endif

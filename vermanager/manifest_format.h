// The package manifest's lines: runs of fields "[TAG]", the value's length
// as "[%d]", and exactly that many characters of value.
#ifndef VESTA_VERMANAGER_MANIFEST_FORMAT_H
#define VESTA_VERMANAGER_MANIFEST_FORMAT_H

#include <string>

// Longest line, and the line buffer.
constexpr int kManifestLine = 519;
// Capacity of a value as it is read.
constexpr int kManifestValue = 260;

enum class LineKind { kNone, kFile, kRegistry, kFolder, kName };

// Cuts the line at its first carriage return or line feed.
void StripLineEnd(char* line);

// The kind of the line's leading tag, by its first four characters.
LineKind ClassifyLine(const char* line);

// The five-character tag that opens a line of the kind ("[FIL]", ...).
const char* TagOfKind(LineKind kind);

// Scans the line field by field for tag; 1 and at most capacity characters
// of its value (the rest of the line when the value runs past it) in out
// (capacity + 1 bytes), or 0.
int FindField(const char* tag, const char* line, char* out, int capacity);

// Appends tag, "[length]" and value to the line being built.
void WriteField(std::string* line, const char* tag, const char* value);

#endif

// The files that a media file names in turn. A shape (a DirectX text mesh,
// ".x") names the textures of its materials in "TextureFilename" entries;
// textures, sounds and KOLB files name nothing, so their operations succeed
// and change nothing. Every operation succeeds for an empty path.
#ifndef VESTA_ACTIONS_DEPENDANTS_H
#define VESTA_ACTIONS_DEPENDANTS_H

#include <string>
#include <vector>

// Copies what the copy of a file names into folder and points the copy at
// the copies.
int VUCopyTextureDependants(const char* copy, const char* folder);
int VUCopySoundDependants(const char* copy, const char* folder);
// relative: the shape's names are also rewritten into the relative form
// against folder, in the same rewrite, as VURelativiseShapeDependants would
// after it (which then finds the shape done).
int VUCopyShapeDependants(const char* copy, const char* folder, bool relative = false);
int VUCopyKOLBDependants(const char* copy);

// A shape that a world names many times has its textures copied and
// relativised once in a normalisation; a new normalisation starts afresh,
// since a folder packed before may have been emptied or refilled since.
void VUForgetShapesDone();

// Rewrites what the file names into the relative form (VURelativisePath).
int VURelativiseTextureDependants(const char* path);
int VURelativiseSoundDependants(const char* path);
int VURelativiseShapeDependants(const char* path);
int VURelativiseKOLBDependants(const char* path);

// Expands what the file names with folder for the folder token.
int VUExpandShapeDependants(const char* folder, const char* path);
int VUExpandKOLBDependants(const char* path);

// The texture names of a shape's "TextureFilename" entries, in the order of
// its text.
std::vector<std::string> VUShapeTextureNames(const std::string& text);

// Where the viewer would find a texture that the shape names as written:
// the name as it stands (expanded against the folder of the shape, or of its
// original when it is a copy) when that file exists; else a file of its name
// beside the shape's original, in mediaFolder (ending with a back-slash; ""
// for none) or beside the shape. "" when it is nowhere.
std::string VULocateShapeTexture(const std::string& written, const std::string& shape,
                                 const std::string& mediaFolder);

#endif

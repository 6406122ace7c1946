// VSetu's services for tools that work on an installation from outside the
// viewer: where the Windows side of the machine lies, files named by the
// installation's Windows paths, the paths a world stores, shortcuts with an
// icon, the console, and the reason of the last failure. Part of vsetu.h.
//
// Operations return 1 for success and 0 for failure unless said otherwise.
// Paths are Windows paths as the system keeps them; on Linux they lie in
// the folder named by VESTA_ROOT. Texts given back are cut to the size of
// the caller's buffer (size bytes, terminator included).
#ifndef VESTA_VSETU_MACHINE_H
#define VESTA_VSETU_MACHINE_H

#include <cstdint>
#include <cstdio>

#include "vesta/export.h"

// ---------------------------------------------------------------------------
// The machine.

// Where the Windows side of the machine lies: on Linux the host folder that
// VESTA_ROOT names (by default ~/.vesta), on Windows the drive of the
// Windows folder ("C:\"). 0 when it cannot be had or does not fit.
VSETU_API int VSGetMachineRoot(char* out, int size);
// Makes folder (a host path) the Windows side of the machine for the rest
// of the process: VESTA_ROOT on Linux. Windows has one machine only: 0.
// Installation folders already read stay in use; call it first.
VSETU_API int VSSetMachineRoot(const char* folder);
// 1 when the machine's root can be chosen (Linux).
VSETU_API int VSCanSetMachineRoot();

// What VSInitialiseInstallation found and made.
struct VSInstallationReport {
  int32_t foldersMade;   // folders that did not exist before
  int32_t homeWritten;   // 1 when "Home" was written (it was not set)
  char home[264];        // the installation folder in use
};

// Makes a fresh installation: the installation folder home (a path ending
// with a back-slash; null or "" for the registered one, else "C:\VESTA\")
// with its bin, media, temp and worlds, the "Home" value when it is not set
// yet, and the stock renderer entries. On Linux the machine's own folders
// (the Windows folder and the rest) come with the first change in a fresh
// root. What exists is left alone. 0 when a folder or a value could not be made
// (VSGetLastFileProblem, VSRegGetLastProblem tell why).
VSETU_API int VSInitialiseInstallation(const char* home, VSInstallationReport* report);

// ---------------------------------------------------------------------------
// Files.

VSETU_API int VSFileExists(const char* path);
VSETU_API int VSFolderExists(const char* path);
// Looks at a path that a file names (a world, its catalogue, a side file,
// a manifest), as the libraries do before they read it: 1 when it names a
// regular file that may be read; 0 when nothing (or a folder) is there; -1
// when it is refused: a host path or a relative one, a link that leads out
// of VESTA_ROOT, a pipe or a device. why (size bytes) gets the reason, ""
// unless refused. A path typed by the user need not pass this.
VSETU_API int VSLookAtStoredFile(const char* path, char* why, int size);
// The size of an existing file in bytes.
VSETU_API int VSGetFileSize(const char* path, int64_t* size);
// 1 when both files exist and hold the same bytes.
VSETU_API int VSSameContent(const char* first, const char* second);
// The name (no folder) that a copy of file may take in the normaliser's
// turn number (1 the file's own name, up to kVSMostCopyNames numbered:
// "wall_2.bmp"), into out (size bytes). 0 for a number out of range, a path
// without a name, or too small an out.
enum : int { kVSMostCopyNames = 9999 };
// The path as Windows compares paths (letters in capitals, each '/' a '\'),
// into out (size bytes): two paths name the same file when their folded
// forms are equal. 0 when out is too small.
VSETU_API int VSFoldPath(const char* path, char* out, int size);
VSETU_API int VSCopyName(const char* file, int number, char* out, int size);
// Makes the folder and every missing folder above it.
VSETU_API int VSMakeFolders(const char* path);
// Deletes one file (never what a link leads to).
VSETU_API int VSDeleteFile(const char* path);
// Opens the file as fopen does ("r", "rb", ...). Null when it cannot be
// opened. Close it with fclose.
VSETU_API FILE* VSOpenFile(const char* path, const char* mode);
// Replaces the file with text, whole, through a temporary beside it: a
// failure leaves the old file as it was.
VSETU_API int VSReplaceFile(const char* path, const char* text, int64_t length);
// The host's own name for the path (what a shell command on this machine
// is given).
VSETU_API int VSGetHostPath(const char* path, char* out, int size);
// The last file operation of the library that failed: "<path>: <reason>",
// or 0 and "" when none has.
VSETU_API int VSGetLastFileProblem(char* out, int size);
// Forgets the last failure, so that the next VSGetLastFileProblem tells of
// what follows.
VSETU_API void VSClearLastFileProblem();

// The change lock of a file that several processes may change (a
// catalogue, a manifest, WININIT.INI): take it before the file is read and
// let go of it after the file is written back, and no change another
// process makes in between is lost. The lock is a file beside the file
// (its name with ".lock" added); the system frees it when the process
// ends, however it ends. The package services' uninstall (the manifest)
// and the restart deletions (WININIT.INI) take the same lock; a thread that
// holds a lock may take it again.
class VSETU_API CVChangeLock {
 public:
  CVChangeLock();
  ~CVChangeLock();  // lets go of the lock
  CVChangeLock(const CVChangeLock&) = delete;
  CVChangeLock& operator=(const CVChangeLock&) = delete;

  // Waits until the lock of the file at path is held (letting go of one
  // held before). 0 when it cannot be had: VSGetLastFileProblem says why.
  int CLAcquire(const char* path);
  void CLRelease();

 private:
  void* held_;
};

// ---------------------------------------------------------------------------
// The paths a world stores.

// The file that a path stored in a world (or its catalogue) names:
// "?VESTAVWQDIR?" stands for the folder of worldFile and the machine's
// tokens for the machine's folders; a texture that is not where the path
// says but lies in the installation's media folder is that one, as the
// viewer finds it. out holds 261 bytes. 0 for an empty path.
VSETU_API int VSResolveStoredPath(const char* stored, const char* worldFile, char* out);

// Called once for each texture a shape names: the name as written, and
// where the viewer finds it ("" when nowhere). Return 1 to go on.
typedef int (*VSShapeTextureCallback)(const char* written, const char* found, void* context);
// Walks the textures that a shape (".x") names in its "TextureFilename"
// entries. 1 when the shape was read (a file of another kind names none);
// 0 when it cannot be read.
VSETU_API int VSForEachShapeTexture(const char* shape, VSShapeTextureCallback callback, void* context);

// The normaliser log's path ("Normaliz.txt" in the installation's temp
// folder, or "C:\VESTNORM.LOG" without an installation).
VSETU_API int VSGetNormaliserLogFile(char* out, int size);

// ---------------------------------------------------------------------------
// Shortcuts and the console.

// Writes a shortcut file to target with a description and an icon (icon
// null or "" for none).
VSETU_API int VSWriteShortcut(const char* shortcutFile, const char* target, const char* description,
                              const char* iconFile, int iconIndex);

// Text between the libraries' code page (Windows-1252, every byte a
// character) and UTF-8, for a program at a UTF-8 terminal. Each writes
// into out (size bytes, the terminator included) and returns 0 when out is
// too small. VSUtf8ToCodePage also returns 0 when text holds a character
// the code page lacks, with the first such one (in UTF-8) in missing
// (missingSize bytes; may be null); bytes that are no UTF-8 are taken as
// the code page's own.
VSETU_API int VSCodePageToUtf8(const char* text, char* out, int size);
VSETU_API int VSUtf8ToCodePage(const char* text, char* out, int size, char* missing, int missingSize);

// The program's argument number index (0 the program itself) in the code
// page, as main received them in argc and argv: on Linux converted from
// the terminal's UTF-8, on Windows taken from the wide command line. 0 when
// there is no such argument, out (size bytes) is too small, or the
// argument holds a character the code page lacks (the first such one, in
// UTF-8, in missing; missingSize bytes, may be null).
VSETU_API int VSGetArgument(int argc, char** argv, int index, char* out, int size, char* missing,
                            int missingSize);
// Writes length bytes of code-page text to the stream (1 standard output,
// 2 standard error) as the terminal there expects it: UTF-8 on Linux; on
// Windows through the console's wide output when the stream is a console,
// else the bytes as they are. 1 when all of it was written.
VSETU_API int VSWriteToTerminal(int stream, const char* text, int length);

// 1 when the stream (1 standard output, 2 standard error) is a terminal.
VSETU_API int VSIsTerminal(int stream);
// The width of the terminal in characters, or 0 when it cannot be had.
VSETU_API int VSTerminalWidth(int stream);

#endif

// The shell folders into which the setup puts its shortcuts.
#ifndef VESTA_ACTIONS_START_FOLDERS_H
#define VESTA_ACTIONS_START_FOLDERS_H

// The user's Start-up folder, and the Start menu's Programs folder (which
// holds the setup's shortcut), without a final back-slash, into out
// (kVUPathBuffer bytes); window is the owner, or null. 0, out untouched,
// when the shell names none or the path is longer than kVUMaxPath.
int VUGetStartUpFolder(void* window, char* out);
int VUGetStartMenuFolder(void* window, char* out);

#endif

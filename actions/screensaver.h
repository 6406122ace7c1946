// The user's screensaver: a copy of the screensaver file in the system
// folder, named by the "SCRNSAVE.EXE" value under HKEY_CURRENT_USER
// "Control Panel\Desktop".
#ifndef VESTA_ACTIONS_SCREENSAVER_H
#define VESTA_ACTIONS_SCREENSAVER_H

// Copies the file into the system folder (replacing an older copy) and
// makes it the user's screensaver. 1 when both were done.
int VUInstallScreensaver(const char* file);

// 1 when the user's screensaver is the system folder's copy of this file
// and that copy exists.
int VUIsScreensaverInstalled(const char* file);

// Clears the user's screensaver when it is this file's copy, and removes
// the copy. 1 when the copy is gone and the value no longer names it.
int VUUnInstallScreensaver(const char* file);

#endif

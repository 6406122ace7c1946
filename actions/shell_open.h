// Opening a document with the program the desktop associates with it.
#ifndef VESTA_ACTIONS_SHELL_OPEN_H
#define VESTA_ACTIONS_SHELL_OPEN_H

// Opens path with the verb ("open"); window is the owner, or null. 1 when
// the platform reports success.
int VUShellOpen(void* window, const char* verb, const char* path);

#endif

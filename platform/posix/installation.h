// The Windows installation that VESTA_ROOT stands for.
#ifndef VESTA_PLATFORM_POSIX_INSTALLATION_H
#define VESTA_PLATFORM_POSIX_INSTALLATION_H

#include <string>

namespace vesta::platform::posix {

// Makes the root and the folders that every Windows installation has, the
// first time a process needs them in this root: drive C:, C:\Windows with
// its System32, Temp, Desktop and Start Menu\Programs\Startup folders, and
// C:\Program Files. Folders that exist are left alone. False when one of
// them could not be made.
bool EnsureInstallation();

// The root as it really lies (links resolved), made first when absent; ""
// when it cannot be had. Kept for as long as VESTA_ROOT stays the same.
std::string RealRoot();

// The root's folder, held open while VESTA_ROOT stays the same; -1 when it
// cannot be had.
int RootFolder();

// True when real (a host path with every link resolved) is the root itself
// or lies inside it.
bool LiesInRoot(const std::string& real);

}  // namespace vesta::platform::posix

#endif

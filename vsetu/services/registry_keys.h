// The installation's registry keys. The machine key and the user key differ
// in letter case; each operation uses its own as the installation wrote it.
#ifndef VESTA_VSETU_SERVICES_REGISTRY_KEYS_H
#define VESTA_VSETU_SERVICES_REGISTRY_KEYS_H

namespace vesta::vsetu {

// Under HKEY_LOCAL_MACHINE: "Home".
constexpr char kMachineKey[] = "SOFTWARE\\vesta3d\\VESTA\\CurrentVersion";
// Under HKEY_CURRENT_USER: "Desktop", the key, joystick and mouse settings.
constexpr char kUserKey[] = "Software\\vesta3d\\Vesta\\CurrentVersion";

}  // namespace vesta::vsetu

#endif

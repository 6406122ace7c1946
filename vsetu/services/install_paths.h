// Composing the installation's paths.
#ifndef VESTA_VSETU_SERVICES_INSTALL_PATHS_H
#define VESTA_VSETU_SERVICES_INSTALL_PATHS_H

namespace vesta::vsetu {

// out = base + suffix when that fits a 264-byte buffer (out untouched
// otherwise). True when composed.
bool ComposePath(char* out, const char* base, const char* suffix);

}  // namespace vesta::vsetu

#endif

// For the tests: an export by the registry editor, as its bytes.
#ifndef VESTA_PLATFORM_REGISTRY_FILE_REGEDIT_EXPORT_FIXTURE_H
#define VESTA_PLATFORM_REGISTRY_FILE_REGEDIT_EXPORT_FIXTURE_H

#include <string>

namespace vesta::testing {

// The export of HKEY_CURRENT_USER\Software\VestaRegCheck by the registry
// editor ("regedit /E"), as text: a byte order mark, CR LF line ends, hex
// data wrapped after 77 characters and continued after two blanks.
inline const std::u16string kRegeditExport =
    u"\uFEFFWindows Registry Editor Version 5.00\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\Software\\VestaRegCheck]\r\n"
    u"\"Big\"=hex(b):88,77,66,55,44,33,22,11\r\n"
    u"\"Count\"=dword:0000002a\r\n"
    u"\"Exp\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,78,00,00,00\r\n"
    u"\"Lines\"=hex(7):66,00,69,00,72,00,73,00,74,00,20,00,6c,00,69,00,6e,00,65,00,00,\\\r\n"
    u"  00,73,00,65,00,63,00,6f,00,6e,00,64,00,20,00,6c,00,69,00,6e,00,65,00,00,00,\\\r\n"
    u"  43,00,61,00,66,00,e9,00,00,00,00,00\r\n"
    u"\"Quote\"=\"say \\\"hi\\\" C:\\\\dir\\\\\"\r\n"
    u"\"Text\"=\"Caf\u00e9 room \u20ac 5\"\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\Software\\VestaRegCheck\\Sub]\r\n"
    u"@=\"default\"\r\n"
    u"\r\n";

}  // namespace vesta::testing

#endif

// Uses the setup library alone: a catalogue made in memory matches file
// names, so the program calls nothing of the property store itself and a
// linker that drops unused libraries leaves only VSetu on its list. VSetu
// must then find VProp on its own. Prints the version it was built against.
#include <cstdio>
#include <initializer_list>

#include <vesta/version.h>
#include <vesta/vsetu.h>

static void AddType(CVFileTypeList& catalogue, const char* name, const char* ending) {
  CVFileType* type = new CVFileType;
  type->FTInitialise();
  type->FTSetFileType(name);
  type->FTSetFileEnding(ending);
  catalogue.FLAddFileType(type);
}

int main() {
  std::printf("setup-only: version %s (%d.%d.%d) package %s\n", VESTA_VERSION_STRING, VESTA_VERSION_MAJOR,
              VESTA_VERSION_MINOR, VESTA_VERSION_PATCH, VESTA_PACKAGE_VERSION);
  CVFileTypeList catalogue;
  catalogue.FLInitialise();
  catalogue.FLPrepare();
  AddType(catalogue, "Text document", ".txt");
  AddType(catalogue, "Picture", ".bmp");
  int matched = 0;
  for (const char* file : {"Report.TXT", "notes.xyz"}) {
    CVFileType* type = nullptr;
    char name[261] = "no type";
    if (catalogue.FLFindFileMatch(file, &type) && type != nullptr) {
      type->FTGetFileType(name);
      ++matched;
    }
    std::printf("setup-only: %s: %s\n", file, name);
  }
  catalogue.FLDeleteAllFileTypes();
  return matched == 1 ? 0 : 1;
}

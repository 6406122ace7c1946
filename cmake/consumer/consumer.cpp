// Uses both libraries: a file type of the setup library filling an item
// of the property store.
#include <cstdio>

#include <vesta/vprop.h>
#include <vesta/vsetu.h>

int main() {
  CVFileType type;
  type.FTInitialise();
  type.FTSetFileType("Text document");
  type.FTSetTexture("C:\\VESTA\\media\\doc.bmp");
  CItemProp item;
  item.IPInitialise();
  type.FTType2Prop(&item);
  char name[261] = "";
  type.FTGetFileType(name);
  std::printf("consumer: %s gives the texture %s\n", name, item.texture);
  return item.texture[0] != '\0' ? 0 : 1;
}

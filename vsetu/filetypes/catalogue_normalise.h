// A catalogue that travels: saved with its media copied into its own
// folder and its paths in the relative form, loaded with them expanded
// again.
#ifndef VESTA_VSETU_FILETYPES_CATALOGUE_NORMALISE_H
#define VESTA_VSETU_FILETYPES_CATALOGUE_NORMALISE_H

#include "vesta/vsetu.h"
#include "vsetu/filetypes/catalogue_fields.h"

namespace vesta::vsetu {

// The value of one field as a normalised save writes it (value holds 261
// bytes): commands and programs normalised; media copied into folder with
// what they name, then relativised; worlds normalised there too. The
// caller sets folder as the relative base. A value in the travelling form
// is first read from where the catalogue at holder was written.
void NormaliseForSave(const CatalogueField& field, char* value, const char* folder, const char* holder);

// Expands the travelling paths of a loaded record against folder.
void DeRelativise(CVFileType* record, const char* folder);

}  // namespace vesta::vsetu

#endif

// Every file that a world refers to, each once, with the records that name
// it; nested worlds (named by the world's catalogue) followed.
#ifndef VESTA_PROGRAMS_VESTA_WORLD_REFERENCES_H
#define VESTA_PROGRAMS_VESTA_WORLD_REFERENCES_H

#include <cstdint>
#include <string>
#include <vector>

#include "programs/vesta/world_model.h"

namespace vesta::tool {

struct Naming {
  std::string record;  // item 2 "Report"
  std::string field;   // texture [PIF]
  std::string stored;  // the path as the record stores it
};

struct Reference {
  std::string path;
  bool present = false;
  int64_t size = 0;
  std::string refused;  // why it may not be read, or ""
  Naming first;         // the first record that names it
  size_t named = 0;     // how many namings there are
  std::vector<Naming> namedBy;  // every naming, in order, when they are kept
  // When the normaliser copies it: 0 with the world record (its catalogue
  // and side files), n with the n-th element of the world (1 the first),
  // after the last element for what the catalogue names.
  size_t element = 0;
};

struct References {
  std::vector<Reference> files;
  // Worlds and catalogues that could not be read, and what the read of a
  // world passed over.
  std::vector<std::string> problems;
  int missing = 0;
  int refused = 0;  // files it may not read
  int damaged = 0;  // records and fields passed over
};

// The files of the world at path and its catalogue, and of the worlds that
// the catalogue names, in the order they are met, each world read as a
// stream: what is kept is a reference for each file, and every naming of
// it only with keepEveryNaming. *world tells the world at path. False, with
// the reason in *problem, when that world cannot be read.
bool CollectReferences(const std::string& path, bool keepEveryNaming, WorldModel* world, References* references,
                       std::string* problem);

// The folded (lower-case) form of a path, by which two names of one file
// compare.
std::string Folded(const std::string& path);

}  // namespace vesta::tool

#endif

#include "platform/process_state.h"

namespace vesta::platform::state {

FolderOverrides& Overrides() {
  static FolderOverrides overrides;
  return overrides;
}

FileError& LastFileError() {
  thread_local FileError last;
  return last;
}

FaultPoint& Fault(platform::FaultPoint point) {
  static FaultPoint points[kFaultPointCount];
  return points[static_cast<int>(point)];
}

Replacements& Replacing() {
  static Replacements replacements;
  return replacements;
}

Installation& MadeInstallation() {
  static Installation installation;
  return installation;
}

FolderListings& Listings() {
  static FolderListings* listings = new FolderListings;  // outlives every static that looks a name up
  return *listings;
}

RegistryProblem& Registry() {
  static RegistryProblem problem;
  return problem;
}

int& ComStarts() {
  thread_local int starts = 0;
  return starts;
}

}  // namespace vesta::platform::state

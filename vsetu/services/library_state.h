// The setup library's process-wide state, all in one place.
#ifndef VESTA_VSETU_SERVICES_LIBRARY_STATE_H
#define VESTA_VSETU_SERVICES_LIBRARY_STATE_H

#include <cstdio>
#include <set>
#include <string>
#include <unordered_map>

class CTheList;
class CVFileType;
class CWorldProp;

namespace vesta::vsetu {

// Texts held by the state: up to 263 characters.
constexpr int kStateText = 263;

// The installation folder once read; empty until then.
char* HomeCache();
// The error slot: -1 (no error recorded) when the library is loaded.
int* ErrorSlot();
// The comment slot: "VSetu.dll" when the library is loaded.
char* CommentSlot();
// Set when VSetuInitialise started COM for the process.
bool* ComStarted();
// The renderer list's current entry, -1 for none.
int* RendererCursor();

// The normaliser's element list, its last element as the loader knows it,
// its world record and its item count.
CTheList** ListHead();
CTheList** ListTail();
CWorldProp** NormaliserWorld();
int* ItemCount();
// The normaliser log: its path once fixed, the lines not yet in it, and how
// many of the normaliser's steps are under way (their lines are written
// when the outermost one returns).
char* NormaliserLogPath();
std::string* NormaliserLogPending();
int* NormaliserLogSteps();
// The world files being normalised now, nested ones included (folded
// case), so that a world that names itself is not normalised again.
std::set<std::string>* WorldsInNormalisation();

// The records that are in a catalogue, each with its catalogue's index by
// ending. Never freed, so that a catalogue destroyed late in the exit of
// the process still finds it.
class EndingIndex;
std::unordered_map<const CVFileType*, EndingIndex*>* IndexedRecords();

}  // namespace vesta::vsetu

#endif

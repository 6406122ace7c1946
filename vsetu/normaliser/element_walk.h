// The walk that the copy and relativise steps share: each element's room or
// item through its step, an element with neither logged as an error, the
// click callback after every element, until one fails.
#ifndef VESTA_VSETU_NORMALISER_ELEMENT_WALK_H
#define VESTA_VSETU_NORMALISER_ELEMENT_WALK_H

#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"

namespace vesta::vsetu {

template <typename RoomStep, typename ItemStep>
int WalkElements(CTheList* element, int result, CVNormBuilder::ClickCallback click, RoomStep roomStep,
                 ItemStep itemStep) {
  for (; result == 1 && element != nullptr; element = element->next) {
    if (element->room != nullptr) {
      result = roomStep(element->room);
    } else if (element->item != nullptr) {
      result = itemStep(element->item);
    } else {
      Log("        ERROR: <Empty List Element>\n");
      result = 0;
    }
    if (click != nullptr) click();
  }
  return result;
}

}  // namespace vesta::vsetu

#endif

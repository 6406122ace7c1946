// The walk that the copy and relativise steps share: each element's room or
// item through its step, an element with neither logged as an error, the
// builder's click callback (whichever form is set) after every element,
// until one fails.
#ifndef VESTA_VSETU_NORMALISER_ELEMENT_WALK_H
#define VESTA_VSETU_NORMALISER_ELEMENT_WALK_H

#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"

namespace vesta::vsetu {

// The builder's click callback, whichever form is set, once an element is
// done.
inline void Click(const CVNormBuilder& builder) {
  if (builder.clickCallback != nullptr) {
    builder.clickCallback();
  } else if (builder.clickContextCallback != nullptr) {
    builder.clickContextCallback(builder.clickContext);
  }
}

template <typename RoomStep, typename ItemStep>
int WalkElements(const CVNormBuilder& builder, CTheList* element, int result, RoomStep roomStep,
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
    Click(builder);
  }
  return result;
}

}  // namespace vesta::vsetu

#endif

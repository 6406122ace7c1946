// Following the links of the setup dialogs: pages of the product's web
// site, or a target the caller names.
#ifndef VESTA_ACTIONS_WEB_LINKS_H
#define VESTA_ACTIONS_WEB_LINKS_H

// The pages each link opens.
constexpr char kVUDefaultLink[] = "http://www.vesta3d.com/";
constexpr char kVULinkTypeTwo[] = "http://www.vesta3d.com/worlds/";
constexpr char kVULinkTypeThree[] = "http://www.vesta3d.com/support/";

// Open the page or the target with the desktop's program for it; window is
// the owner, or null. 1 when the platform reports success.
int VUFollowDefaultLink(void* window);
int VUFollowLinkTypeTwo(void* window);
int VUFollowLinkTypeThree(void* window);
int VUFollowLinkTarget(void* window, const char* target);

#endif

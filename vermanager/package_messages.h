// The package manager's messages and questions, as its dialog shows them:
// one place for the texts that the dialog and the setup library's package
// services both show.
#ifndef VESTA_VERMANAGER_PACKAGE_MESSAGES_H
#define VESTA_VERMANAGER_PACKAGE_MESSAGES_H

#include <string>
#include <vector>

#include "vermanager/refused_path.h"

namespace package_messages {

extern const char kVerifyCaption[];
extern const char kUninstallCaption[];
extern const char kCannotCaption[];
extern const char kWholeProductCaption[];

extern const char kSelectToVerify[];
extern const char kSelectToUninstall[];
extern const char kAllPresent[];
extern const char kViewerRunning[];
extern const char kWholeProduct[];
extern const char kRestart[];

// "NOT OK. Components are missing ..." naming the first missing one.
std::string Missing(const std::string& value);
// "You are about to remove: ..." with the package's title.
std::string ConfirmRemoval(const std::string& title);
// "This package cannot be UnInstalled before: ..." with the owner.
std::string Blocked(const std::string& owner);
// What the removal left in place because the manifest names it outside the
// installation; "" when nothing.
std::string Refusals(const std::vector<RefusedPath>& refused);

}  // namespace package_messages

#endif

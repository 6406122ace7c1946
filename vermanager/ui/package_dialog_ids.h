/* Resource and control ids of the package manager's dialogs, shared by the
   resource script and the code (plain defines, for the resource compiler). */
#ifndef VESTA_VERMANAGER_UI_PACKAGE_DIALOG_IDS_H
#define VESTA_VERMANAGER_UI_PACKAGE_DIALOG_IDS_H

#define IDD_VERMANAGER_ABOUT 100
#define IDD_VERMANAGER_DIALOG 102
#define IDI_VERMANAGER 128
#define IDC_PACKAGE_LIST 1000
#define IDC_UNINSTALL 1001
#define IDC_VERIFY 1002
#define IDC_HELP_BUTTON 1003
#define IDC_ABOUT 1004
#define IDC_FOLDER 1006
#define IDC_LOG 1007
#define IDC_ABOUT_VERSION 1017
#define IDC_ABOUT_SUBRELEASE 1018
#define IDC_ABOUT_BUILD 1019

#endif

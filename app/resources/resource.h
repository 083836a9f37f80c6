// Resource, command and control identifiers of the program.
#pragma once

// Resources
#define IDR_MAINMENU 101
#define IDR_ACCELERATORS 105
#define IDI_EWTS 106
#define IDI_SMALL 108
#define IDI_ENGLISH 112
#define IDD_ABOUT 110
#define IDD_SETTINGS 113
#define IDD_MANTRAS 115

// Commands
#define IDM_EXIT 102
#define IDM_HIDE 103
#define IDM_ABOUT 104
#define IDM_RESTORE 109
#define IDM_SETTINGS 114
#define IDM_RESERVED 116

// Controls
#define IDC_ABOUT_ICON 3
#define IDC_STATUSBAR 200
#define IDC_START_HIDDEN 1002
#define IDC_AUTOHIDE 1003
#define IDC_AUTOHIDE_DELAY 1006
#define IDC_SEC_LABEL 1008
#define IDC_DELAY_SPIN 1009
#define IDC_MANTRAS_GROUP 1010
#define IDC_LETTERS_GROUP 1011

// Timer
#define IDT_AUTOHIDE 300

// Resource, control and command ids of LXVIEWER (one header for all its resources).
#pragma once

// Frame: menu, toolbar bitmap, accelerators and title string.
#define IDR_MAINFRAME 128
// About box.
#define IDD_ABOUTBOX 100
// URL window ("Enter URL") with its combo box and Go button.
#define IDD_URLWINDOW 103
#define IDC_URL_COMBO 1001
#define IDC_URL_GO 1002
// Simple view (the presentation without a browser control).
#define IDD_SIMPLEVIEW 177
#define IDC_SV_FILES 1771
#define IDC_SV_VIEWFILE 1772
#define IDC_SV_FONT 1773
#define IDC_SV_HEADER 1774
#define IDC_SV_BODY 1775
// The browser control in the client area.
#define IDC_BROWSER 1965
// Frame bars.
#define IDC_TOOLBAR 1966
#define IDC_STATUSBAR 1967

// Commands.
#define ID_APP_EXIT 0xE141
#define ID_APP_ABOUT 0xE140
#define ID_HELP_USING 32800
#define ID_FILE_PRINT 32801
#define ID_FILE_PRINT_SETUP 32802
#define ID_ACTION_ADDRESSES 32810
#define ID_ACTION_REPLY 32811
#define ID_ACTION_DELETE 32812
#define ID_ACTION_FILE 32813
#define ID_FAVORITE_OPEN 32820
#define ID_FAVORITE_ADD 32821
#define ID_VIEW_HOME 32830
#define ID_VIEW_FORWARD 32831
#define ID_VIEW_BACK 32832
#define ID_VIEW_STOP 32833
#define ID_VIEW_RELOAD 32834
#define ID_VIEW_URLWINDOW 32835
#define ID_VIEW_TOOLBAR 32836
#define ID_VIEW_STATUS_BAR 32837

// Help context of the viewer's help command.
#define HELP_CONTEXT_VIEWER 76

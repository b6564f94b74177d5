// Every resource, control and command id of the main program.
#pragma once

// Main frame: menu, accelerators, title string and icon share one id.
#define IDR_MAINFRAME 128
#define IDB_SPLASH 102
// Main frame: toolbar images (14 of 20 x 20) and the splitter's column-sizing cursor.
#define IDB_TOOLBAR 128
#define IDC_SPLIT_SIZE 30980

// Dialogs
#define IDD_VIEWLOG 170
#define IDC_VIEWLOG_TEXT 1000
#define IDC_VIEWLOG_DELETE 1001
#define IDC_VIEWLOG_HELP 1002
#define IDC_STATIC_TEXT -1

// "About Lorvex"
#define IDD_ABOUT 171
#define IDC_ABOUT_NAME 1010
#define IDC_ABOUT_VERSION 1011
#define IDC_ABOUT_TEXT 1012
#define IDC_ABOUT_ICON 1013

// The program's version: the version resource and the About box show the same text.
#define LX_VERSION_TEXT "2.0.0.0"

// Help context of the "View Log File" dialog (same topic as its menu command).
#define HELP_CONTEXT_VIEWLOG 62

// Timers
#define IDT_SPLASH 1
#define IDT_MAILCHECK 1993

// Frame control bars and child windows
#define IDW_TOOLBAR 59392
#define IDW_STATUSBAR 59393
#define IDW_SPLITTER 59648
#define IDC_MAILBOX_SELECTOR 32793

// Menu and toolbar commands
#define ID_FOLDER_NEW 57600
#define ID_FOLDER_DELETE 32779
#define ID_FOLDER_EDIT 32805
#define ID_FILE_PRINT_SETUP 32786
#define ID_PRINT_FONTS 32820
#define ID_MESSAGE_PRINT 32787
#define ID_APP_EXIT 57665
#define ID_MESSAGE_NEW 32783
#define ID_MESSAGE_READ 32785
#define ID_MESSAGE_DELETE 32784
#define ID_MESSAGE_SEARCH 32808
#define ID_MAIL_SEND 32771
#define ID_MAIL_RETRIEVE 32772
#define ID_MAIL_MERGE 32780
#define ID_ADDRESS_BOOK 32773
#define ID_MAILING_LISTS 32774
#define ID_SIGNATURE_FILE 32788
#define ID_DIALER_SETUP 32809
#define ID_FILTER_MANAGER 32792
#define ID_MAILBOX_SETUP 32775
#define ID_DICT_AMERICAN 32790
#define ID_DICT_BRITISH 32791
#define ID_READER_SIMPLE 32822
#define ID_READER_INTERNAL 32823
#define ID_READER_IE3 32824
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393
#define ID_VIEW_LOGFILE 32810
#define ID_HELP_INDEX 57666
#define ID_HELP_UPRUNNING 32795
#define ID_HELP_USING 57668
#define ID_APP_ABOUT 57664

// Pane pop-up commands (prompts only in the frame's string table)
#define ID_FOLDER_HELP 32798
#define ID_POPUP_READ 32799
#define ID_POPUP_DELETE 32800
#define ID_MESSAGE_HELP 32801
#define ID_POPUP_NEWFOLDER 32802
#define ID_POPUP_DELETEFOLDER 32803
#define ID_POPUP_PRINT 32807
#define ID_EMPTY_TRASH 32811
#define ID_FOLDER_FONTS 32812
#define ID_MESSAGE_FONT 32813

// Folder pane and message list: bitmaps, row icons, drag cursors, pop-up menus, help contexts
#define IDB_FOLDER_USER 161
#define IDB_FOLDER_USER_SEL 162
#define IDB_FOLDER_SPECIAL 163
#define IDB_FOLDER_SPECIAL_SEL 164
#define IDB_MESG_NEW_FILES 182
#define IDB_MESG_NEW 183
#define IDB_MESG_FILES 184
#define IDB_MESG_READ 185
#define IDC_DRAG_NONE 135
#define IDC_DRAG_FOLDER 136
#define IDR_PANE_POPUPS 175
#define ID_POPUP_EDITFOLDER 32806
#define HELP_CONTEXT_MESSAGES 14
#define HELP_CONTEXT_FOLDERS 15

// "Retrieving Mail [POP3]" (Close is IDCANCEL) and its "Enter Mail Server Password" prompt
#define IDD_POP3STAT 3400
#define IDC_POP3STAT_CONNECTION 3401
#define IDC_POP3STAT_TOTAL 3402
#define IDC_POP3STAT_CURRENT 3403
#define IDC_POP3STAT_PERCENT 3404
#define IDC_POP3STAT_LOG 3405
#define IDC_POP3STAT_HELP 3406
#define HELP_CONTEXT_POP3STAT 33
#define IDD_POP3PASS 3410
#define IDC_POP3PASS_PASSWORD 3411

// The folder dialogs both programs share
#include "../../common/folderdlg/folderres.h"

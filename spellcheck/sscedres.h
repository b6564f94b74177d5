// Resource ids of SSCED32.dll: the spelling dialog, its controls and its texts.
#pragma once

// Spelling dialog
#define IDD_SSCED_CHECK 100
#define IDC_SSCED_WORD 1001
#define IDC_SSCED_CHANGETO 1002
#define IDC_SSCED_SUGGESTIONS 1003
#define IDC_SSCED_REPLACE 1004
#define IDC_SSCED_REPLACEALL 1005
#define IDC_SSCED_IGNORE 1006
#define IDC_SSCED_IGNOREALL 1007
#define IDC_SSCED_ADD 1008
#define IDC_SSCED_STATUS 1009

// Texts
#define IDS_SSCED_NO_SUGGESTIONS 200
#define IDS_SSCED_NOT_SAVED 201

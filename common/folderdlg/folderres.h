// Resource and control ids of the two folder dialogs, shared by both programs' resources.
#pragma once

#define IDD_NEWFOLDER 241
#define IDC_NEWFOLDER_NAME 2401
#define IDC_NEWFOLDER_DESC 2402
#define IDC_NEWFOLDER_HELP 2403

#define IDD_SELFOLDER 242
#define IDC_SELFOLDER_LIST 2411
#define IDC_SELFOLDER_HELP 2412

// Help contexts
#define HELP_CONTEXT_NEWFOLDER 22
#define HELP_CONTEXT_SELFOLDER 56

// Resource and control ids of the viewer LXVIEWER.
#pragma once

// URL window
#define IDD_URLWINDOW 103
#define IDC_URL_COMBO 1001
#define IDC_URL_GO 1002

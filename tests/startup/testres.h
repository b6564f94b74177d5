// Ids of the test-only dialog that exercises the dialog layer.
#pragma once
#define IDD_TEST_FIELDS 900
#define IDC_TEST_NAME 901
#define IDC_TEST_COUNT 902

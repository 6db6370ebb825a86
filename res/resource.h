// Resource and control ids shared by the resource script and the code.
#pragma once

#define IDD_ABOUT 100
#define IDD_MAIN 129
#define IDI_APP 202

#define IDC_WINDOW_HANDLE 1000
#define IDC_WINDOW_TEXT 1001
#define IDC_GET_COUNT 1002
#define IDC_LIST_COUNT 1003
#define IDC_GET_CONTENTS 1004
#define IDC_CONTENTS 1005
#define IDC_CLIPBOARD 1006
#define IDC_CLEAR 1007
#define IDC_ABOUT 57664
#define IDC_STATIC (-1)

#pragma once

// Identifiers shared by clipstamp.rc and the Windows dialogs. Plain macros, as the resource
// compiler takes them.

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CLIPSTAMP_DIALOG 102
#define IDD_RUN_PROGRESS 103
#define IDR_MAINFRAME 128

// Settings dialog controls.
#define IDC_FOLDER 1000
#define IDC_BROWSE_FOLDER 1001
#define IDC_TIME_FORMAT 1002
#define IDC_COMBINED_NAME 1003
#define IDC_BROWSE_COMBINED 1004
#define IDC_PAL 1005
#define IDC_NTSC 1006
#define IDC_MINUTE_OFFSET 1007
#define IDC_SUBTITLE_FORMAT 1008

// Progress window controls.
#define IDC_PROGRESS_TEXT 1010
#define IDC_PROGRESS_BAR 1011

// The system menu command that opens the about box.
#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#pragma once

// Resource, control and command ids of the terminal's dialogs.

// Dialog templates
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_SERIAL_DIALOG = 102;

// Strings
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDS_LOCKWINDOW = 102;
constexpr int IDS_MINIMIZE = 103;
constexpr int AFX_IDP_INTERNAL_FAILURE = 61704;

// Icons
constexpr int IDR_MAINFRAME = 128;
constexpr int IDI_APPICON = 132;

// Controls of IDD_SERIAL_DIALOG
constexpr int IDC_STATIC = -1;
constexpr int IDC_COMM = 1000;
constexpr int IDC_RECV = 1001;
constexpr int IDC_SENDTEXT = 1002;
constexpr int IDC_SEND = 1003;
constexpr int IDC_TEST = 1005;
constexpr int IDC_PLOT = 1006;
constexpr int IDC_TEMP = 1008;
constexpr int IDC_CURVE = 1009;
constexpr int IDC_CLOCK = 1013;
constexpr int IDC_PORT = 1015;
constexpr int IDC_OPEN = 1016;
constexpr int IDC_BAUD = 1017;
constexpr int IDC_SEPARATOR = 1018;
constexpr int IDC_DATABITS = 1019;
constexpr int IDC_STOPBITS = 1020;
constexpr int IDC_PARITY = 1021;
constexpr int IDC_RESPBYTES = 1022;
constexpr int IDC_RXCOUNT = 1032;
constexpr int IDC_TXCOUNT = 1033;
constexpr int IDC_CLEAR = 1034;
constexpr int IDC_STOPDISP = 1035;
constexpr int IDC_SAVEAS = 1036;
constexpr int IDC_ACQUIRE = 1037;
constexpr int IDC_BUFCOUNT = 1040;
constexpr int IDC_RECVMODE = 1046;
constexpr int IDC_SENDMODE = 1047;
constexpr int IDC_PARITY_LABEL = 1048;
constexpr int IDC_RESP_LABEL = 1049;
constexpr int IDC_BAUD_LABEL = 1050;

// Child id of the curve window inside the dialog
constexpr int IDC_CURVEWND = 100;

// System-menu commands
constexpr unsigned IDM_ABOUTBOX = 0x10;
constexpr unsigned IDM_LOCKWINDOW = 0x20;
constexpr unsigned IDM_MINIMIZE = 0x30;

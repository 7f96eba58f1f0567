#pragma once

#include <QByteArray>

// Program-wide state, set up before start-up and released at exit.
extern QByteArray g_strTime;     // the clock text, "%d:%d:%d:%d"
extern QByteArray g_strRecvText; // the chunk of the last reception
extern bool g_bPortOpen;         // state of the open/close button
extern bool g_bTopMost;          // the window is locked on top
extern bool g_bTestTimer;        // TIMER_TEST runs
extern int g_bShowRecv;          // 1: receptions go into the receive box
extern char g_szHexPair[4];      // two hexadecimal digits and a blank

// Puts every program-wide variable, the C library's generator among them,
// back to its start value, as a new process has it: for programs that run
// the dialog more than once in one process (tests, fuzzing, benchmarks).
void ResetGlobals();

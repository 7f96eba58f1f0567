#include "app/Globals.h"

QByteArray g_strTime;
QByteArray g_strRecvText;
bool g_bPortOpen = false;
bool g_bTopMost = false;
bool g_bTestTimer = false;
int g_bShowRecv = 1;
char g_szHexPair[4] = "   ";

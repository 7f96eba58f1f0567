#include "app/Globals.h"

#include "platform/CrtRand.h"

#include <algorithm>

QByteArray g_strTime;
QByteArray g_strRecvText;
bool g_bPortOpen = false;
bool g_bTopMost = false;
bool g_bTestTimer = false;
int g_bShowRecv = 1;
char g_szHexPair[4] = "   ";

void ResetGlobals() {
    g_strTime.clear();
    g_strRecvText.clear();
    g_bPortOpen = false;
    g_bTopMost = false;
    g_bTestTimer = false;
    g_bShowRecv = 1;
    std::copy_n("   ", sizeof g_szHexPair, g_szHexPair);
    CrtRand() = CCrtRand();
}

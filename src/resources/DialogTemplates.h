#pragma once

#include "platform/DialogTemplate.h"

extern const DialogTemplate g_tmplSerialDialog; // IDD_SERIAL_DIALOG
extern const DialogTemplate g_tmplAboutBox;     // IDD_ABOUTBOX

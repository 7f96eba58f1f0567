#pragma once

#include <QIcon>

// IDI_APPICON: a thermometer over a serial plug, drawn at 16 and 32 pixels.
QIcon AppIcon();

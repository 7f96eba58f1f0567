#pragma once

class QWidget;

// The colours every dialog of the application gets: a RGB(106, 138, 50)
// background with black text on statics, group boxes and buttons; edit
// boxes and lists keep the system colours.
void SetDialogBkColor(QWidget* dialog);

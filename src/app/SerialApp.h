#pragma once

class QWidget;

// The application: runs the main dialog modally and ends when it closes.
class CSerialApp {
public:
    // Returns false: the program ends once the dialog has closed.
    bool InitInstance();
};

extern CSerialApp theApp;

// The colours every dialog of the application gets: a RGB(106, 138, 50)
// background with black text on statics, group boxes and buttons; edit
// boxes and lists keep the system colours.
void SetDialogBkColor(QWidget* dialog);

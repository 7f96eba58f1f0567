#pragma once

// The application: runs the main dialog modally and ends when it closes.
class CSerialApp {
public:
    // Returns false: the program ends once the dialog has closed.
    bool InitInstance();
};

extern CSerialApp theApp;

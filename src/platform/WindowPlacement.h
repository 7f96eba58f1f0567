#pragma once

class QWidget;

// Puts a top-level window into the top-most band (above every window that is
// not top-most) or takes it out again, where it is and without hiding it.
void SetWindowTopMost(QWidget* window, bool topMost);

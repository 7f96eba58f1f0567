#pragma once

class CSerialDlg;

// Works the real dialog's controls as a user does, through the widgets' own
// signals, so every action goes through the message table and its dispatch.
// For programs that drive the dialog without a test framework.

// Clicks push button id.
void ClickItem(CSerialDlg& dlg, int id);

// Chooses entry index of drop-down list id.
void SelectItem(CSerialDlg& dlg, int id, int index);

#pragma once

#include "boardsim/Board.h"
#include "serial/QtCommControl.h"
#include "support/DialogFixture.h"
#include "support/TempConfigHome.h"

#include <chrono>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

// The real control, keeping what each read of Input gave the dialog.
class RecordingControl : public QtCommControl {
public:
    QVariant GetInput() override;
    std::vector<QByteArray> reads;
};

// The real dialog with the real control on the board simulator, which runs
// in-process on the test's event loop as COM1 of a temporary port-link folder.
class DialogOnBoard : public DialogTest {
protected:
    std::unique_ptr<CommControl> MakeControl() override;

    // A new board on COM1; the one before is dropped only once it is in place.
    void Plug(const BoardOptions& options);
    // Picks the response byte count, then opens COM1 with the open button.
    void Open(int respBytes);
    // Sends the start command and waits for that many more receptions.
    void Acquire(size_t receptions);
    // Sends the stop command and waits until the dialog has read all the board wrote.
    void StopAndDrain();
    // Types into the send box.
    void Type(const QString& text);
    // Saves through 另存为... and reads the file back.
    QByteArray SaveAs();

    TempConfigHome home;
    std::unique_ptr<Board> board;
    RecordingControl* control = nullptr;
};

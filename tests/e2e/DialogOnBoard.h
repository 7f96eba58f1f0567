#pragma once

#include "boardsim/Board.h"
#include "support/DialogFixture.h"
#include "support/TempConfigHome.h"

#include <chrono>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

// The real dialog with the real control on the board simulator, which runs
// in-process on the test's event loop as COM1 of a temporary port-link folder.
class DialogOnBoard : public DialogTest {
protected:
    void SetUp() override;
    std::unique_ptr<CommControl> MakeControl() override;

    // A new board on COM1; the one before is dropped only once it is in place.
    void Plug(const BoardOptions& options);
    // Picks the response byte count, then opens COM1 with the open button.
    void Open(int respBytes);
    // Sends the start command and waits for that many more receptions.
    void Acquire(size_t receptions);
    // Sends the stop command and waits until the dialog has read everything the board wrote.
    void StopAndDrain();
    // What the chunk rules keep of the reads so far: of each read, at most
    // respBytes bytes and none from its first zero byte on.
    QByteArray ExpectedCapture(int respBytes) const;

    TempConfigHome home;
    std::unique_ptr<Board> board;
    CommControl* control = nullptr;
    std::vector<QByteArray> reads; // every read of the control's Input, in order
    int events = 0;                // every event of the control
};

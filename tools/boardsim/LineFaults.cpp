#include "boardsim/LineFaults.h"

#include "boardsim/ReadingFormat.h"

namespace {

bool Due(int every, long long index) {
    return every > 0 && index % every == 0;
}

} // namespace

QByteArray ReadingOnLine(int sixteenths, int width, long long index, const LineFaults& faults) {
    QByteArray text =
        FormatReading(sixteenths, Due(faults.overlongEvery, index) ? width + 3 : width);
    if (Due(faults.badGbkEvery, index))
        text[width - 1] = '\xFF';
    if (Due(faults.zeroEvery, index))
        text[width / 2] = '\0';
    return text;
}

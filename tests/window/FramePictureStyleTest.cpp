#include "platform/FramePictureStyle.h"

#include "app/DialogColors.h"
#include "platform/DialogBuilder.h"
#include "resources/DialogTemplates.h"

#include <QLineEdit>

#include <gtest/gtest.h>

// The readout as the dialog has it, drawn by the application's style over the
// dialog, and by the style that keeps the frame as a picture over the
// dialog's background filled by the box itself: the window must show the same
// pixels, in each state the frame has.
TEST(FramePictureStyle, ShowsTheFrameAsTheStyleDrawsIt) {
    QWidget dialog;
    dialog.setFont(DialogFont(g_tmplSerialDialog));
    SetDialogBkColor(&dialog);
    dialog.resize(200, 60);
    QLineEdit plain(QStringLiteral("摄氏25.50℃"), &dialog);
    QLineEdit pictured(QStringLiteral("摄氏25.50℃"), &dialog);
    FramePictureStyle style;
    pictured.setStyle(&style);
    pictured.setBackgroundRole(QPalette::Window);
    pictured.setAutoFillBackground(true);
    plain.setGeometry(10, 10, 75, 21);
    pictured.setGeometry(100, 10, 75, 21);
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        for (QLineEdit* edit : {&plain, &pictured}) {
            edit->setAlignment(Qt::AlignCenter);
            edit->setEnabled(enabled);
            edit->setText(enabled ? QStringLiteral("摄氏25.50℃") : QStringLiteral("摄氏-12.06℃"));
        }
        EXPECT_EQ(dialog.grab(pictured.geometry()).toImage(),
                  dialog.grab(plain.geometry()).toImage());
    }
}

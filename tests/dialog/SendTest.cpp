#include "support/DialogFixture.h"

// Both buttons that write to the line refuse a closed port. Start and stop
// alternate on an open port, whatever happened to it in between; a write the
// control refuses changes neither the counter nor the caption.
TEST_F(DialogTest, WritesNeedAnOpenPortAndAControlThatTakesThem) {
    Click(IDC_SEND);
    Click(IDC_ACQUIRE);
    OpenPort();
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_ACQUIRE) + Text(IDC_TXCOUNT), "停止采集1");
    Click(IDC_OPEN);
    Click(IDC_OPEN);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(comm->outputs, (std::vector<QVariant>{QByteArray("\xFF"), QByteArray("\xFE")}));
    comm->FailOn("Output", "写入失败");
    Click(IDC_SEND);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_ACQUIRE) + Text(IDC_TXCOUNT), "开始采集2");
    ASSERT_EQ(boxes.size(), 4u);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(boxes[i].text, i < 2 ? "请打开串口后再操作!" : "写入失败");
        EXPECT_EQ(boxes[i].title, i < 2 ? "非法操作!" : AppName());
        EXPECT_EQ(boxes[i].icon, i < 2 ? MsgIcon::Exclamation : MsgIcon::Stop);
    }
}

// An exception that describes nothing shows the internal-failure text when
// the user's action met it, and nothing when the control's event did; the
// dialog goes on either way.
TEST_F(DialogTest, UndescribedFailuresShowOnlyForTheUsersActions) {
    OpenPort();
    comm->FailOn("Output", QString());
    Click(IDC_SEND);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "内部应用程序出错。");
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    comm->FailOn("Input?", QString());
    comm->Receive("25.50");
    EXPECT_EQ(boxes.size(), 1u);
    comm->ClearFailures();
    comm->Receive("26.00");
    EXPECT_GT(Text(IDC_RXCOUNT).toInt(), 0);
}

// Text goes out as the box holds it, counted in bytes of the code page;
// hexadecimal as the bytes its digits spell, or a box naming the first
// character that is no digit as the box shows it.
TEST_F(DialogTest, SendWritesTextOrTheBytesItsDigitsSpell) {
    OpenPort();
    const std::tuple<QString, QVariant, int, QString> rows[] = {
        {"hello", "hello", 5, {}},
        {"温度", "温度", 9, {}},                  // two bytes each in GBK
        {"", "", 9, {}},                          // the label is written all the same
        {"a\nb", "a\r\nb", 13, {}},               // the edit control's line breaks are CR LF
        {"x😀", "x😀", 15, {}},                     // no GBK character: one '?' goes out
        {"41 42\n43", QByteArray("ABC"), 18, {}}, // hexadecimal from here on
        {"0a\tfF", QByteArray("\x0A\xFF"), 20, {}},
        {"ABC", QByteArray("\xAB\xC0"), 22, {}},
        {"  \n ", {}, 22, {}},
        {"G1", {}, 22, "第 1 个字符“G”"},
        {"41\n42\nZ", {}, 22, "第 7 个字符“Z”"}};
    for (const auto& [typed, sent, total, refused] : rows) {
        SCOPED_TRACE(typed.toStdString());
        if (sent.typeId() == QMetaType::QByteArray && Text(IDC_SENDMODE) == "文本形式")
            Click(IDC_SENDMODE);
        boxes.clear();
        comm->outputs.clear();
        TypeSend(typed);
        Click(IDC_SEND);
        EXPECT_EQ(comm->outputs, sent.isValid() ? std::vector{sent} : std::vector<QVariant>{});
        EXPECT_EQ(Text(IDC_TXCOUNT), QString::number(total));
        EXPECT_EQ(Text(IDC_SENDTEXT), typed) << "the box keeps its text";
        ASSERT_EQ(boxes.size(), refused.isEmpty() ? 0u : 1u);
        for (const MessageBoxCall& box : boxes) {
            EXPECT_EQ(box.text, refused + "不是十六进制数字，未发送任何数据。");
            EXPECT_EQ(box.title, "非法操作!");
            EXPECT_EQ(box.icon, MsgIcon::Exclamation);
        }
    }
    EXPECT_EQ(Text(IDC_SENDMODE), "十六进制");
    Click(IDC_SENDMODE);
    EXPECT_EQ(Text(IDC_SENDMODE), "文本形式");
}

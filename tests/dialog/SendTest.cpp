#include "support/DialogFixture.h"

#include "resources/Resource.h"

TEST_F(DialogTest, SendAndAcquireWithThePortClosedAreRefused) {
    TypeSend("hello");
    for (int button : {IDC_SEND, IDC_ACQUIRE}) {
        boxes.clear();
        Click(button);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "请打开串口后再操作!");
        EXPECT_EQ(boxes[0].title, "非法操作!");
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
    }
    EXPECT_TRUE(comm->outputs.empty());
    EXPECT_EQ(Text(IDC_TXCOUNT), "TX");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
}

TEST_F(DialogTest, TextSendCountsTheBytesOfTheCodePage) {
    OpenPort();
    const struct {
        QString typed, sent;
        int total;
    } rows[] = {
        {"hello", "hello", 5},
        {"温度", "温度", 9},    // two bytes each in GBK
        {"", "", 9},            // nothing goes out; the label is written all the same
        {"a\nb", "a\r\nb", 13}, // the edit control's line breaks are CR LF
        {"x😀", "x😀", 15},       // no GBK character: it goes out as one '?'
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        comm->outputs.clear();
        TypeSend(row.typed);
        Click(IDC_SEND);
        ASSERT_EQ(comm->outputs.size(), 1u);
        EXPECT_EQ(comm->outputs[0].toString(), row.sent);
        EXPECT_EQ(Text(IDC_TXCOUNT), QString::number(row.total));
        EXPECT_EQ(Text(IDC_SENDTEXT), row.typed) << "the box keeps its text";
    }
}

// Hexadecimal: the bytes the digits spell, or a box naming the first
// character that is no digit, counted as the box shows it; nothing for no digits.
TEST_F(DialogTest, HexSendWritesTheBytesOrRefusesTheText) {
    OpenPort();
    Click(IDC_SENDMODE);
    EXPECT_EQ(Text(IDC_SENDMODE), "十六进制");
    const struct {
        QString typed;
        QByteArray sent;
        int position;
        QString character;
    } rows[] = {
        {"41 42\n43", "ABC", 0, {}},
        {"0a0A\tfF", "\x0A\x0A\xFF", 0, {}},
        {"ABC", "\xAB\xC0", 0, {}},
        {"", {}, 0, {}},
        {"  \n ", {}, 0, {}},
        {"G1", {}, 1, "G"},
        {"41\n42\nZ", {}, 7, "Z"},
        {"41😀", {}, 3, "😀"},
        {"41e\u0301", {}, 3, "e\u0301"},
    };
    int total = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.toStdString());
        boxes.clear();
        comm->outputs.clear();
        TypeSend(row.typed);
        Click(IDC_SEND);
        if (!row.sent.isEmpty()) {
            ASSERT_EQ(comm->outputs.size(), 1u);
            EXPECT_EQ(comm->outputs[0].typeId(), QMetaType::QByteArray);
            EXPECT_EQ(comm->outputs[0].toByteArray(), row.sent);
        } else {
            EXPECT_TRUE(comm->outputs.empty());
        }
        total += int(row.sent.size());
        EXPECT_EQ(Text(IDC_TXCOUNT), total ? QString::number(total) : "TX");
        ASSERT_EQ(boxes.size(), row.position ? 1u : 0u);
        if (row.position) {
            EXPECT_EQ(boxes[0].title, "非法操作!");
            EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
            EXPECT_EQ(boxes[0].text,
                      QStringLiteral("第 %1 个字符“%2”不是十六进制数字，未发送任何数据。")
                          .arg(row.position)
                          .arg(row.character));
        }
    }
    Click(IDC_SENDMODE);
    EXPECT_EQ(Text(IDC_SENDMODE), "文本形式");
}

TEST_F(DialogTest, RefusedWritesLeaveCounterAndCaption) {
    OpenPort();
    comm->FailOn("Output", "写入失败");
    TypeSend("abc");
    Click(IDC_SEND);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_TXCOUNT), "TX");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[1].text, "写入失败");
}

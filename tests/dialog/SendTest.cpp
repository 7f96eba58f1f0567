#include "support/DialogFixture.h"

#include "resources/Resource.h"

#include <QPlainTextEdit>

TEST_F(DialogTest, SendAndAcquireWithThePortClosedAreRefused) {
    dlg->m_editSend->setPlainText("hello");
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
    struct Row {
        QString text;
        QString sent;
        int total;
    };
    const Row rows[] = {
        {"hello", "hello", 5},
        {"温度", "温度", 9},    // two characters, two bytes each in GBK
        {"", "", 9},            // nothing goes out; the label is written all the same
        {"a\nb", "a\r\nb", 13}, // the edit control's line breaks are CR LF
        {"x😀", "x😀", 15},       // no GBK character: it goes out as one '?'
    };
    for (const Row& row : rows) {
        comm->outputs.clear();
        dlg->m_editSend->setPlainText(row.text);
        Click(IDC_SEND);
        ASSERT_EQ(comm->outputs.size(), 1u);
        EXPECT_EQ(comm->outputs[0].toString(), row.sent);
        EXPECT_EQ(dlg->m_nTxCount, row.total) << row.text.toStdString();
        EXPECT_EQ(Text(IDC_TXCOUNT), QString::number(row.total));
        EXPECT_EQ(dlg->m_editSend->toPlainText(), row.text) << "the box keeps its text";
    }
}

TEST_F(DialogTest, HexSendWritesTheBytesOrRefusesTheText) {
    OpenPort();
    Click(IDC_SENDMODE);
    EXPECT_EQ(Text(IDC_SENDMODE), "十六进制");

    dlg->m_editSend->setPlainText("41 42\n43");
    Click(IDC_SEND);
    ASSERT_EQ(comm->outputs.size(), 1u);
    EXPECT_EQ(comm->outputs[0].typeId(), QMetaType::QByteArray);
    EXPECT_EQ(comm->outputs[0].toByteArray(), "ABC");
    EXPECT_EQ(Text(IDC_TXCOUNT), "3");

    for (const QString& nothing : {QString(), QString("  \n ")}) {
        comm->log.clear();
        dlg->m_editSend->setPlainText(nothing);
        Click(IDC_SEND);
        EXPECT_EQ(comm->log, QStringList{"PortOpen?"});
    }

    // The refusal counts and quotes characters as the box shows them.
    struct Refused {
        const char* name;
        QString text;
        QString message;
    };
    const Refused rows[] = {
        {"first character", "G1", "第 1 个字符“G”不是十六进制数字，未发送任何数据。"},
        {"after line breaks", "41\n42\nZ", "第 7 个字符“Z”不是十六进制数字，未发送任何数据。"},
        {"emoji", "41😀", "第 3 个字符“😀”不是十六进制数字，未发送任何数据。"},
        {"CJK", "4142 中", "第 6 个字符“中”不是十六进制数字，未发送任何数据。"},
        {"combining accent on a digit", "41e\u0301",
         "第 3 个字符“e\u0301”不是十六进制数字，未发送任何数据。"},
    };
    for (const Refused& row : rows) {
        SCOPED_TRACE(row.name);
        boxes.clear();
        dlg->m_editSend->setPlainText(row.text);
        Click(IDC_SEND);
        EXPECT_EQ(comm->outputs.size(), 1u);
        EXPECT_EQ(dlg->m_nTxCount, 3);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "非法操作!");
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(boxes[0].text, row.message);
    }

    Click(IDC_SENDMODE);
    EXPECT_EQ(Text(IDC_SENDMODE), "文本形式");
}

TEST_F(DialogTest, RefusedWritesLeaveCounterAndCaption) {
    OpenPort();
    comm->FailOn("Output", "写入失败");
    dlg->m_editSend->setPlainText("abc");
    Click(IDC_SEND);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(dlg->m_nTxCount, 0);
    EXPECT_EQ(Text(IDC_TXCOUNT), "TX");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[1].text, "写入失败");
}

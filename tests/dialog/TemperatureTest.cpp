#include "support/DialogFixture.h"

#include "app/Globals.h"
#include "platform/CrtRand.h"
#include "resources/Resource.h"

#include <QLineEdit>

namespace {

QByteArray Sent(const FakeCommControl& comm) {
    QByteArray bytes;
    for (const QVariant& output : comm.outputs)
        bytes += output.toByteArray();
    return bytes;
}

// The curve's right-hand column: where the newest value was drawn.
bool HasWhiteInLastStrip(const QImage& image) {
    for (int x = image.width() - 16; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                return true;
        }
    }
    return false;
}

} // namespace

TEST_F(DialogTest, StartAndStopSendTheirBytesAndCountThem) {
    OpenPort();
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_ACQUIRE), "停止采集");
    EXPECT_EQ(Text(IDC_TXCOUNT), "1");
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    EXPECT_EQ(Sent(*comm), "\xFF\xFE");
    EXPECT_EQ(comm->outputs[0].typeId(), QMetaType::QByteArray);
    EXPECT_EQ(dlg->m_nTxCount, 2);
}

TEST_F(DialogTest, ClosingThePortWhileAcquiringKeepsTheCaption) {
    OpenPort();
    Click(IDC_ACQUIRE);
    Click(IDC_OPEN);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Text(IDC_ACQUIRE), "停止采集");
    Click(IDC_OPEN);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Sent(*comm), "\xFF\xFE");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
}

TEST_F(DialogTest, CurveModeSwitchesCaptionsAndTheReadout) {
    for (int round = 0; round < 2; ++round) {
        Click(IDC_CURVE);
        EXPECT_EQ(Text(IDC_CURVE), "关闭曲线");
        EXPECT_EQ(Text(IDC_RESP_LABEL), "实时温度");
        EXPECT_FALSE(dlg->m_editTemp->isHidden());
        EXPECT_TRUE(dlg->GetDlgItem(IDC_RESPBYTES)->isHidden());
        Click(IDC_CURVE);
        EXPECT_EQ(Text(IDC_CURVE), "打开曲线");
        EXPECT_EQ(Text(IDC_RESP_LABEL), "响应字节数");
        EXPECT_TRUE(dlg->m_editTemp->isHidden());
        EXPECT_FALSE(dlg->GetDlgItem(IDC_RESPBYTES)->isHidden());
    }
}

TEST_F(DialogTest, ReadingsReachReadoutAndCurveOnlyInCurveMode) {
    OpenPort();
    Select(IDC_RESPBYTES, 3);
    comm->Receive("25.5");
    EXPECT_FLOAT_EQ(dlg->m_fTemperature, 25.5f);
    EXPECT_EQ(dlg->m_editTemp->text(), "摄氏     ℃");
    EXPECT_FALSE(HasWhiteInLastStrip(dlg->m_curve.Surface()));

    Click(IDC_CURVE);
    EXPECT_EQ(dlg->m_editTemp->text(), "摄氏     ℃");
    comm->Receive("25.5");
    comm->Receive("-5.2");
    EXPECT_EQ(dlg->m_editTemp->text(), "摄氏-5.20℃");
    EXPECT_TRUE(HasWhiteInLastStrip(dlg->m_curve.Surface()));

    Click(IDC_CURVE);
    comm->Receive("30.0");
    Click(IDC_CURVE);
    EXPECT_EQ(dlg->m_editTemp->text(), "摄氏-5.20℃");
    EXPECT_FLOAT_EQ(dlg->m_fTemperature, 30.0f);
}

TEST_F(DialogTest, CountTwoReadsTheFirstTwoCharacters) {
    OpenPort();
    Click(IDC_CURVE);
    Select(IDC_RESPBYTES, 1);
    comm->Receive("25.5");
    EXPECT_EQ(dlg->m_editTemp->text(), "摄氏25.00℃");
    EXPECT_EQ(dlg->m_strRecv, "25");
}

TEST_F(DialogTest, OverflowingReadingShowsInfinity) {
    OpenPort();
    Click(IDC_CURVE);
    Select(IDC_RESPBYTES, 4);
    comm->Receive("1e999");
    EXPECT_EQ(dlg->m_editTemp->text(), "摄氏inf℃");
    EXPECT_TRUE(std::isinf(dlg->m_fTemperature));
}

TEST_F(DialogTest, TestFeedDrawsTheGeneratorsNextValuesInRange) {
    Click(IDC_TEST);
    EXPECT_TRUE(g_bTestTimer);
    EXPECT_TRUE(dlg->IsTimerRunning(TIMER_TEST));
    // Other tests have drawn from the program's generator: go on from where it stands.
    CCrtRand expected = CrtRand();
    CSerialDlg reference(std::make_unique<FakeCommControl>());
    reference.Create();
    for (int tick = 0; tick < 3; ++tick) {
        int value;
        do {
            value = expected.Rand();
        } while (value > 100);
        reference.m_curve.AddValue(value);
        dlg->OnTimer(TIMER_TEST);
    }
    EXPECT_EQ(dlg->m_curve.Surface(), reference.m_curve.Surface());
    Click(IDC_TEST);
    EXPECT_FALSE(g_bTestTimer);
    EXPECT_FALSE(dlg->IsTimerRunning(TIMER_TEST));
}

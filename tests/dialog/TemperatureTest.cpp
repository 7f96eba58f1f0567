#include "support/DialogFixture.h"
#include "support/WaitUntil.h"

#include "platform/CrtRand.h"
#include "platform/WindowStyles.h"
#include "resources/Resource.h"
#include "temperature/CurveWnd.h"

namespace {

// A curve of the dialog's size that was given values, to compare with the dialog's.
class ReferenceCurve {
public:
    ReferenceCurve(const CSerialDlg& dlg, std::initializer_list<int> values) {
        m_curve.Create(WS_CHILD | WS_VISIBLE, dlg.GetDlgItem(IDC_PLOT)->geometry(), &m_host, 0);
        m_curve.SetRange(0, 100);
        for (int value : values)
            m_curve.AddValue(value);
    }
    QImage Surface() const { return m_curve.Surface(); }

private:
    QWidget m_host;
    CCurveWnd m_curve;
};

QImage Curve(const CSerialDlg& dlg) {
    return dlg.findChild<CCurveWnd*>()->Surface();
}

} // namespace

TEST_F(DialogTest, StartAndStopSendTheirBytesAndCountThem) {
    OpenPort();
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_ACQUIRE), "停止采集");
    EXPECT_EQ(Text(IDC_TXCOUNT), "1");
    Click(IDC_OPEN); // closing the port keeps the caption; the click is refused
    Click(IDC_ACQUIRE);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Text(IDC_ACQUIRE), "停止采集");
    Click(IDC_OPEN);
    Click(IDC_ACQUIRE);
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    EXPECT_EQ(Text(IDC_TXCOUNT), "2");
    ASSERT_EQ(comm->outputs.size(), 2u);
    EXPECT_EQ(comm->outputs[0].typeId(), QMetaType::QByteArray);
    EXPECT_EQ(comm->outputs[0].toByteArray() + comm->outputs[1].toByteArray(), "\xFF\xFE");
}

TEST_F(DialogTest, CurveModeSwitchesCaptionsAndTheReadout) {
    for (int round = 0; round < 2; ++round) {
        Click(IDC_CURVE);
        EXPECT_EQ(Text(IDC_CURVE), "关闭曲线");
        EXPECT_EQ(Text(IDC_RESP_LABEL), "实时温度");
        EXPECT_FALSE(dlg->GetDlgItem(IDC_TEMP)->isHidden());
        EXPECT_TRUE(dlg->GetDlgItem(IDC_RESPBYTES)->isHidden());
        Click(IDC_CURVE);
        EXPECT_EQ(Text(IDC_CURVE), "打开曲线");
        EXPECT_EQ(Text(IDC_RESP_LABEL), "响应字节数");
        EXPECT_TRUE(dlg->GetDlgItem(IDC_TEMP)->isHidden());
        EXPECT_FALSE(dlg->GetDlgItem(IDC_RESPBYTES)->isHidden());
    }
}

struct ReadingCase {
    const char* name;
    int respBytes;
    QByteArray reply;
    QString readout;
    int curveValue;
};

class Reading : public DialogTest, public ::testing::WithParamInterface<ReadingCase> {};

// In curve mode a reply shows in the readout and goes to the curve; out of
// it, neither changes, and the readout keeps the last reading in curve mode.
TEST_P(Reading, ReachesReadoutAndCurveOnlyInCurveMode) {
    const ReadingCase& c = GetParam();
    OpenPort();
    Select(IDC_RESPBYTES, c.respBytes - 1);
    comm->Receive(c.reply);
    EXPECT_EQ(Curve(*dlg), ReferenceCurve(*dlg, {}).Surface());
    Click(IDC_CURVE);
    EXPECT_EQ(Text(IDC_TEMP), "摄氏     ℃");
    comm->Receive(c.reply);
    EXPECT_EQ(Text(IDC_TEMP), c.readout);
    EXPECT_EQ(Curve(*dlg), ReferenceCurve(*dlg, {c.curveValue}).Surface());
    Click(IDC_CURVE);
    comm->Receive("0000000000000000");
    Click(IDC_CURVE);
    EXPECT_EQ(Text(IDC_TEMP), c.readout);
    EXPECT_EQ(Curve(*dlg), ReferenceCurve(*dlg, {c.curveValue}).Surface());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Reading,
    ::testing::Values(ReadingCase{"Decimal", 4, "25.5", "摄氏25.50℃", 27},
                      ReadingCase{"CutByTheCount", 2, "25.5", "摄氏25.00℃", 27},
                      ReadingCase{"Negative", 5, "-5.25", "摄氏-5.25℃", -3},
                      ReadingCase{"LeadingBlank", 5, " 21.0", "摄氏21.00℃", 23},
                      ReadingCase{"NoNumber", 1, "x", "摄氏0.00℃", 2},
                      ReadingCase{"Overflow", 5, "1e999", "摄氏inf℃", 100}),
    [](const auto& row) { return std::string(row.param.name); });

// The hidden test button feeds the generator's next values in range, every
// 500 ms, whether the curve is open or not.
TEST_F(DialogTest, TestFeedDrawsTheGeneratorsValuesInRange) {
    CCrtRand rand;
    std::vector<int> values;
    while (values.size() < 2) {
        if (const int value = rand.Rand(); value <= 100)
            values.push_back(value);
    }
    Click(IDC_TEST);
    const ReferenceCurve one(*dlg, {values[0]}), two(*dlg, {values[0], values[1]});
    EXPECT_TRUE(WaitUntil([&] { return Curve(*dlg) == one.Surface(); }));
    EXPECT_TRUE(WaitUntil([&] { return Curve(*dlg) == two.Surface(); }));
}

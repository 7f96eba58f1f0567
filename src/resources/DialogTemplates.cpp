#include "resources/DialogTemplates.h"

#include "resources/Resource.h"

namespace {

using K = ControlKind;
namespace S = ControlStyle;

constexpr unsigned kList = S::VScroll | S::TabStop;
constexpr unsigned kBox =
    S::Multiline | S::AutoVScroll | S::WantReturn | S::VScroll | S::TabStop | S::StaticEdge;

const ControlTemplate kSerialControls[] = {
    {IDC_SEND, "IDC_SEND", K::DefPushButton, "发送", 8, 58, 37, 39, S::TabStop},
    {IDC_BAUD, "IDC_BAUD", K::DropDownList, "", 9, 116, 40, 73, kList},
    {IDC_PARITY, "IDC_PARITY", K::DropDownList, "", 51, 116, 42, 73, kList},
    {IDC_DATABITS, "IDC_DATABITS", K::DropDownList, "", 95, 116, 35, 73, kList},
    {IDC_STOPBITS, "IDC_STOPBITS", K::DropDownList, "", 133, 116, 33, 73, kList},
    {IDC_PORT, "IDC_PORT", K::DropDownList, "", 169, 116, 37, 58, kList},
    {IDC_CURVE, "IDC_CURVE", K::OwnerDrawButton, "打开曲线", 245, 61, 37, 34,
     S::TabStop | S::StaticEdge},
    {IDC_OPEN, "IDC_OPEN", K::OwnerDrawButton, "打开串口", 285, 61, 37, 34,
     S::TabStop | S::StaticEdge},
    {IDC_SAVEAS, "IDC_SAVEAS", K::PushButton, "另存为...", 284, 41, 36, 14, S::TabStop},
    {IDC_STOPDISP, "IDC_STOPDISP", K::PushButton, "停止显示", 284, 24, 36, 14, S::TabStop},
    {IDC_CLEAR, "IDC_CLEAR", K::PushButton, "清空显示", 284, 7, 36, 14, S::TabStop},
    {IDC_ACQUIRE, "IDC_ACQUIRE", K::PushButton, "开始采集", 244, 9, 37, 18, S::TabStop},
    {IDC_COMM, "IDC_COMM", K::CommControl, "", 103, 49, 25, 25, S::TabStop},
    {IDC_RECV, "IDC_RECV", K::Edit, "", 61, 7, 161, 48, kBox},
    {IDC_SENDTEXT, "IDC_SENDTEXT", K::Edit, "", 61, 58, 161, 40, kBox},
    {IDC_STATIC, "", K::Text, "接收显示", 49, 15, 8, 34, S::Center},
    {IDC_STATIC, "", K::Text, "发送输入", 49, 62, 9, 34, 0},
    {IDC_PLOT, "IDC_PLOT", K::BlackRect, "", 6, 135, 320, 123, S::StaticEdge | S::Transparent},
    {IDC_TEST, "IDC_TEST", K::PushButton, "测试", 38, 49, 27, 12, S::Hidden | S::TabStop},
    {IDC_TEMP, "IDC_TEMP", K::Edit, "", 209, 116, 50, 14,
     S::Center | S::TabStop | S::ClientEdge | S::StaticEdge},
    {IDC_CLOCK, "IDC_CLOCK", K::Text, "Static", 268, 117, 49, 9, 0},
    {IDC_STATIC, "", K::Text, "串口选择", 168, 106, 35, 9, S::Center},
    {IDC_STATIC, "", K::GroupBox, "系统时间", 262, 106, 60, 23, S::Center},
    {IDC_SEPARATOR, "IDC_SEPARATOR", K::BlackFrame, "", 6, 132, 320, 2, S::Sunken},
    {IDC_STATIC, "", K::GroupBox, "", 46, 54, 14, 43, 0},
    {IDC_STATIC, "", K::WhiteFrame, "", 6, 101, 320, 1, 0},
    {IDC_STATIC, "", K::GroupBox, "", 242, 54, 84, 44, 0},
    {IDC_STATIC, "", K::GroupBox, "", 46, 7, 14, 43, 0},
    {IDC_STATIC, "", K::GroupBox, "", 8, 3, 37, 51, 0},
    {IDC_RXCOUNT, "IDC_RXCOUNT", K::Text, "RX", 13, 22, 27, 8, S::Center},
    {IDC_TXCOUNT, "IDC_TXCOUNT", K::Text, "TX", 13, 43, 27, 8, S::Center},
    {IDC_STATIC, "", K::GroupBox, "接收字节", 10, 12, 33, 19, S::Center},
    {IDC_STATIC, "", K::GroupBox, "发送字节", 11, 35, 31, 18, S::Center},
    {IDC_STATIC, "", K::EtchedVertLine, "", 324, 7, 1, 50, 0},
    {IDC_BUFCOUNT, "IDC_BUFCOUNT", K::Text, "0", 247, 43, 29, 8, S::Center},
    {IDC_BAUD_LABEL, "IDC_BAUD_LABEL", K::Text, "波特率", 14, 107, 31, 9, S::Center},
    {IDC_STATIC, "", K::Text, "停止位", 133, 106, 25, 9, 0},
    {IDC_STATIC, "", K::Text, "数据位", 99, 106, 25, 8, 0},
    {IDC_PARITY_LABEL, "IDC_PARITY_LABEL", K::Text, "奇偶校验", 55, 106, 33, 8, S::Center},
    {IDC_STATIC, "", K::GroupBox, "缓冲区字节", 243, 31, 38, 25, S::Center},
    {IDC_RECVMODE, "IDC_RECVMODE", K::PushButton, "文本形式", 226, 7, 15, 47,
     S::TabStop | S::MultilineCaption | S::Center},
    {IDC_SENDMODE, "IDC_SENDMODE", K::PushButton, "文本形式", 225, 58, 15, 39,
     S::TabStop | S::MultilineCaption | S::Center},
    {IDC_RESP_LABEL, "IDC_RESP_LABEL", K::Text, "响应字节数", 212, 106, 46, 9, S::Center},
    {IDC_RESPBYTES, "IDC_RESPBYTES", K::DropDownList, "", 209, 116, 50, 73, kList},
    {IDC_STATIC, "", K::EtchedVertLine, "", 325, 107, 1, 24, 0},
    {IDC_STATIC, "", K::EtchedVertLine, "", 6, 107, 1, 24, 0},
};

const ControlTemplate kAboutControls[] = {
    {IDC_STATIC, "", K::Text, "上位机串口数据处理与实时环境温度视窗", 41, 9, 152, 8, 0},
    {IDI_APPICON, "IDI_APPICON", K::Icon, "", 14, 12, 21, 21, 0},
    {IDC_STATIC, "", K::Text, "(DS18B20)", 192, 9, 36, 8, 0},
    {IDC_STATIC, "", K::Text, "Enjoy you life!", 93, 23, 65, 8, 0},
};

} // namespace

const DialogTemplate g_tmplSerialDialog = {
    IDD_SERIAL_DIALOG, "Serial Tools and Temperature Windows(DS18B20)", "宋体", 9, 333, 274,
    kSerialControls};

const DialogTemplate g_tmplAboutBox = {IDD_ABOUTBOX, "关于应用程序", "宋体", 9, 235,
                                       56,           kAboutControls};

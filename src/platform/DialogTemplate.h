#pragma once

#include <span>

// A dialog template as the resource compiler would store it: positions in
// dialog units, controls in creation (and tab) order.

enum class ControlKind {
    DefPushButton,
    PushButton,
    OwnerDrawButton,
    GroupBox,
    DropDownList,
    Edit,
    Text,
    BlackRect,
    BlackFrame,
    WhiteFrame,
    EtchedVertLine,
    CommControl,
    Icon,
};

namespace ControlStyle {
enum : unsigned {
    TabStop = 1u << 0,
    Hidden = 1u << 1,
    VScroll = 1u << 2,
    Multiline = 1u << 3,
    AutoVScroll = 1u << 4,
    WantReturn = 1u << 5,
    StaticEdge = 1u << 6,
    Center = 1u << 7,
    Sunken = 1u << 8,
    ClientEdge = 1u << 9,
    Transparent = 1u << 10,
    MultilineCaption = 1u << 11,
};
}

struct ControlTemplate {
    int id;
    const char* name; // "" for controls the program never addresses
    ControlKind kind;
    const char* caption; // UTF-8
    int x, y, cx, cy;    // dialog units
    unsigned styles;
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontFace;
    int fontPoints;
    int cx, cy; // client size in dialog units
    std::span<const ControlTemplate> controls;
};

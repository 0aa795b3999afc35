// Geometry of the program's own one-button message window.
#pragma once

namespace r470 {

struct MsgWindowLayout {
    static constexpr int ClientWidth = 276;
    static constexpr int ClientHeight = 84;
    static constexpr int MemoLeft = 2, MemoTop = 6, MemoWidth = 271, MemoHeight = 35;
    static constexpr int PanelHeight = 38;
    static constexpr int Button1Left = 50, Button1Width = 83;
    static constexpr int Button2Left = 136, Button2Width = 85;
    static constexpr int ButtonTop = 4, ButtonHeight = 31;
};

// Left edge that centres an item under a container; each half is cut toward zero.
constexpr int CentredLeft(int containerWidth, int itemWidth) {
    return containerWidth / 2 - itemWidth / 2;
}

} // namespace r470

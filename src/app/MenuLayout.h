#pragma once
// The main window's menu MainMenu1, in display order: what each platform's window builds, and
// the commands it hands back to TFormMain. "&" marks the underlined access letter.
#include <cstdint>
#include <span>

namespace vireon {

enum class MenuCommand : int32_t {
    Inputvolume1,
    MenuStandBy,
    MenuExit,
    MenuStartReceive,
    MenuStopReceive,
    VEDUREDezadod1,
    About1,
    None,  // a separator line
};

struct MenuItemLayout {
    const char* Name;     // the component's name
    const char* Caption;  // null: a separator line (MenuCommand::None)
    MenuCommand Command;
    char Shortcut;  // Ctrl and this letter; 0: none
    bool Checkable;
};

struct MenuLayout {
    const char* Name;
    const char* Caption;
    std::span<const MenuItemLayout> Items;
};

inline constexpr MenuItemLayout FileItems[] = {
    {"Inputvolume1", "Input volume", MenuCommand::Inputvolume1, 'V', false},
    {"MenuStandBy", "&Stand by", MenuCommand::MenuStandBy, 'B', true},
    {"Separator3", nullptr, MenuCommand::None, 0, false},
    {"MenuExit", "&Exit", MenuCommand::MenuExit, 0, false},
};
inline constexpr MenuItemLayout ReceiveItems[] = {
    {"MenuStartReceive", "&Start", MenuCommand::MenuStartReceive, 'R', false},
    {"MenuStopReceive", "St&op", MenuCommand::MenuStopReceive, 0, false},
};
inline constexpr MenuItemLayout HelpItems[] = {
    {"VEDUREDezadod1", "Author's Web site", MenuCommand::VEDUREDezadod1, 0, false},
    {"N2", nullptr, MenuCommand::None, 0, false},
    {"About1", "&About", MenuCommand::About1, 0, false},
};
inline constexpr MenuLayout MainMenu1[] = {
    {"MenuOpenPalette", "&File", FileItems},
    {"Receive1", "&Receive", ReceiveItems},
    {"N1", "&?", HelpItems},
};

}  // namespace vireon

#include "app/windows/MainMenu.h"

#include <stdexcept>
#include <vector>

#include "platform/windows/WideText.h"

namespace vireon {
namespace {

// Clear of the dialog and system command numbers.
constexpr UINT FirstCommandId = 100;
constexpr auto CommandCount = static_cast<UINT>(MenuCommand::None);

}  // namespace

UINT CommandId(MenuCommand command) {
    return FirstCommandId + static_cast<UINT>(command);
}

MenuCommand CommandOf(UINT id) {
    if (id < FirstCommandId || id >= FirstCommandId + CommandCount) return MenuCommand::None;
    return static_cast<MenuCommand>(id - FirstCommandId);
}

std::wstring ItemText(const MenuItemLayout& item) {
    std::wstring text = Widen(item.Caption != nullptr ? item.Caption : "");
    if (item.Shortcut != 0)
        text += L"\tCtrl+" + std::wstring(1, static_cast<wchar_t>(item.Shortcut));
    return text;
}

HMENU BuildMainMenu() {
    const HMENU bar = ::CreateMenu();
    if (bar == nullptr) throw std::runtime_error("Cannot create the main menu");
    for (const MenuLayout& layout : MainMenu1) {
        const HMENU popup = ::CreatePopupMenu();
        for (const MenuItemLayout& item : layout.Items) {
            if (item.Caption == nullptr)
                ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            else
                ::AppendMenuW(popup, MF_STRING, CommandId(item.Command), ItemText(item).c_str());
        }
        ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                      Widen(layout.Caption).c_str());
    }
    return bar;
}

HACCEL BuildAccelerators() {
    std::vector<ACCEL> keys;
    for (const MenuLayout& layout : MainMenu1) {
        for (const MenuItemLayout& item : layout.Items) {
            if (item.Shortcut == 0) continue;
            // A letter's virtual key is its upper-case character.
            keys.push_back({FCONTROL | FVIRTKEY, static_cast<WORD>(item.Shortcut),
                            static_cast<WORD>(CommandId(item.Command))});
        }
    }
    const HACCEL table = ::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
    if (table == nullptr) throw std::runtime_error("Cannot create the menu's shortcuts");
    return table;
}

}  // namespace vireon

#pragma once
// The main window's menu and its Ctrl shortcuts, built from the shared layout (app/MenuLayout.h),
// and the command numbers its items send in WM_COMMAND.
#include <string>

#include "app/MenuLayout.h"
#include "platform/windows/WindowsApi.h"

namespace vireon {

// The WM_COMMAND number of a command's item, and the command of a number (None for any other).
UINT CommandId(MenuCommand command);
MenuCommand CommandOf(UINT id);

// An item's text: its caption with the "&" of its access letter, then a tab and "Ctrl+V" for an
// item with a shortcut.
std::wstring ItemText(const MenuItemLayout& item);

// MainMenu1 as a menu bar of pop-up menus. The caller owns it (a window's menu is destroyed with
// the window).
HMENU BuildMainMenu();
// Ctrl and each item's shortcut letter, sending the item's command. Never null.
HACCEL BuildAccelerators();

}  // namespace vireon

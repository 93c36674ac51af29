#include "platform/windows/Win32MessageBox.h"

#include "platform/windows/WideText.h"

namespace vireon {

void Win32MessageBox::Show(const std::string& text, const std::string& caption, int32_t flags) {
    const UINT icon = static_cast<UINT>(flags) & MB_ICONMASK;
    const UINT modality = owner_ != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
    ::MessageBoxW(owner_, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | icon | modality);
}

}  // namespace vireon

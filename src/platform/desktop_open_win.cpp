// SPDX-License-Identifier: GPL-3.0-or-later
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include "platform/desktop_open.h"
#include "platform/win_text.h"

namespace palquin {

bool OpenWithDesktop(std::string_view text) {
    bool ok = false;
    const std::wstring wide = win::WideFromUtf8(text, &ok);
    if (!ok || wide.empty() || wide.find(L'\0') != std::wstring::npos) {
        return false;
    }
    // Shell extensions may use COM; on a thread that already has it this changes nothing.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    // Values above 32 mean success (the type is historical).
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace palquin

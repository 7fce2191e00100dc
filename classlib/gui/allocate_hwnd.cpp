#include "classlib/gui/allocate_hwnd.h"

#include <memory>

#include "classlib/core/exceptions.h"
#include "classlib/gui/callback_barrier.h"
#include "classlib/gui/scoped_win32.h"

namespace {

const char* const kUtilWindowClass = "QuilloryUtilWindow";

TWndMethod* MethodOf(HWND window) {
    return reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK UtilWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWndMethod* method = MethodOf(window);
    if (!method || !*method) return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    return CallbackBarrier(static_cast<TObject*>(nullptr), LRESULT(0), [&] {
        (*method)(message);
        return message.Result;
    });
}

void RegisterUtilWindowClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = UtilWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kUtilWindowClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    RegisterUtilWindowClass();
    auto owned = std::make_unique<TWndMethod>(std::move(method));
    HWND window = CreateWindowExA(0, kUtilWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) throw EOSError("Could not create a hidden window");
    // Messages of the creation itself went to DefWindowProcA: the method
    // is attached only now.
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owned.release()));
    return window;
}

void DeallocateHWnd(HWND window) {
    if (!window) return;
    std::unique_ptr<TWndMethod> method(MethodOf(window));
    // Destroyed before its method goes, with the method detached first.
    TOwnedWindow owned(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

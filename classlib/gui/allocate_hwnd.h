// Hidden message windows for non-visual components that need to receive
// window messages (posted from worker threads, for instance). The window
// belongs to the thread that allocates it; its messages arrive through any
// message loop of that thread.
#pragma once
#include <cstdint>
#include <functional>

#include "classlib/gui/messages.h"

using TWndMethod = std::function<void(TMessage& message)>;

// A message-only window whose every message goes to method; the method
// sets the message's Result (DefWindowProcA is its own to call). Raises
// EOSError when no window can be made.
HWND AllocateHWnd(TWndMethod method);
// Destroys a window of AllocateHWnd; messages still queued for it are
// dropped. A null window is ignored.
void DeallocateHWnd(HWND window);

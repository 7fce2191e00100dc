// Tests' helper: records the item insertions, changes and deletions that reach
// the system tree-view window procedure. It puts itself in front of that
// procedure for every tree-view window made while it lives (a tree-view
// control whose window exists already needs a new one), so it also sees
// the messages a control hands the procedure directly, past any hook.
#pragma once
#include <string>
#include <vector>

#include "classlib/gui/scoped_win32.h"
#include "classlib/gui/win32.h"

class TTreeItemRecorder {
public:
    struct TInsert {
        HTREEITEM Parent = nullptr;
        HTREEITEM After = nullptr;
        UINT Mask = 0;
        std::string Text;
        int Image = -1, SelectedImage = -1;
        LPARAM Param = 0;
    };

    TTreeItemRecorder() {
        InitCommonControls();
        // The class's procedure is changed through any window of it.
        probe_.Reset(CreateWindowExA(0, WC_TREEVIEWA, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
        if (!class_proc_)
            class_proc_ = reinterpret_cast<WNDPROC>(GetClassLongPtrA(probe_.Get(), GCLP_WNDPROC));
        SetClassLongPtrA(probe_.Get(), GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(Record));
        current_ = this;
    }
    ~TTreeItemRecorder() {
        current_ = nullptr;
        SetClassLongPtrA(probe_.Get(), GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(class_proc_));
    }
    TTreeItemRecorder(const TTreeItemRecorder&) = delete;
    TTreeItemRecorder& operator=(const TTreeItemRecorder&) = delete;

    void Clear() {
        Inserts.clear();
        Changes = 0;
        Deletions = 0;
    }

    std::vector<TInsert> Inserts;
    int Changes = 0;    // TVM_SETITEM
    int Deletions = 0;  // TVM_DELETEITEM

private:
    // Windows made meanwhile keep calling through here after the recorder
    // is gone; they are then only passed on.
    static LRESULT CALLBACK Record(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (current_ && (msg == TVM_INSERTITEMA || msg == TVM_INSERTITEMW)) {
            const auto* is = reinterpret_cast<const TVINSERTSTRUCTA*>(lParam);
            TInsert insert{is->hParent, is->hInsertAfter, is->item.mask, "", is->item.iImage,
                           is->item.iSelectedImage, is->item.lParam};
            if (msg == TVM_INSERTITEMA && (is->item.mask & TVIF_TEXT) && is->item.pszText &&
                is->item.pszText != LPSTR_TEXTCALLBACKA)
                insert.Text = is->item.pszText;
            current_->Inserts.push_back(insert);
        }
        if (current_ && (msg == TVM_SETITEMA || msg == TVM_SETITEMW)) ++current_->Changes;
        if (current_ && msg == TVM_DELETEITEM) ++current_->Deletions;
        return CallWindowProcA(class_proc_, window, msg, wParam, lParam);
    }

    static inline WNDPROC class_proc_ = nullptr;
    static inline TTreeItemRecorder* current_ = nullptr;
    TOwnedWindow probe_;
};

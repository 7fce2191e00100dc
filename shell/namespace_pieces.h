// Pieces both shell-namespace components share, the editor's and the
// runtime's older one. Their lists differ only in the allocator: `Lists`
// names the list type and its operations (Copy, Concat, Count, Truncate,
// Item), and the components bring their own desktop and texts.
#pragma once
#include <cstdint>
#include <utility>

#include "classlib/core/exceptions.h"
#include "classlib/gui/win32.h"
#include "shell/com_ptr.h"
#include <shlobj.h>

// Whether the desktop takes two absolute lists for the same object.
inline bool SameShellObject(IShellFolder* desktop, const ITEMIDLIST* a, const ITEMIDLIST* b) {
    if (!desktop || !a || !b) return false;
    HRESULT result = desktop->CompareIDs(0, a, b);
    return SUCCEEDED(result) && static_cast<short>(HRESULT_CODE(result)) == 0;
}

// The asked attribute bits the object has in its folder; 0 without either,
// or when the folder cannot tell.
inline uint32_t ShellObjectAttributes(IShellFolder* folder, const ITEMIDLIST* object, uint32_t mask) {
    if (!folder || !object) return 0;
    SFGAOF attributes = mask;
    if (FAILED(folder->GetAttributesOf(1, &object, &attributes))) return 0;
    return mask & attributes;
}

// Makes `object` a copy of list (no object for nullptr); the very list it
// holds stays as it is.
template <class Lists>
void SetShellObjectList(typename Lists::List& object, const ITEMIDLIST* list) {
    if (list == object.get()) return;
    typename Lists::List copy = Lists::Copy(list);
    if (list && !copy) throw EOutOfMemory("ShellNamespace: out of memory");
    object = std::move(copy);
}

// The folder's list joined with the object's (a copy of the folder's
// without an object), made once into `cache`.
template <class Lists>
const ITEMIDLIST* CachedAbsoluteList(typename Lists::List& cache, const ITEMIDLIST* folder,
                                     const ITEMIDLIST* object) {
    if (!cache) cache = object ? Lists::Concat(folder, object) : Lists::Copy(folder);
    return cache.get();
}

// Makes the folder's parent the component's folder and the folder its
// object; a list without items (the desktop) goes to `atDesktop` instead.
template <class Lists, class Component, class AtDesktop>
void SelectShellFolderInParent(Component& component, const ITEMIDLIST* folderList, AtDesktop atDesktop) {
    typename Lists::List folder = Lists::Copy(folderList);
    const int count = Lists::Count(folder.get());
    if (count == 0) {
        atDesktop();
        return;
    }
    typename Lists::List parent = Lists::Truncate(folder.get(), count - 1);
    typename Lists::List last = Lists::Item(folder.get(), count - 1);
    component.SetFolderIDList(parent.get());
    component.SetObjectIDList(last.get());
}

// Makes the component's folder that of list, with `text` holding the new
// folder text meanwhile; when binding raises, `text` gets `old` back.
template <class Component, class Text>
void SetShellFolderKeepingText(Component& component, Text& text, const Text& old, const ITEMIDLIST* list) {
    try {
        component.SetFolderIDList(list);
    } catch (...) {
        text = old;
        throw;
    }
}

// Enumerates the component's folder from its first object until `matches`
// says the current object is the one. Without one, the object the search
// started with comes back and `notFound` raises.
template <class Lists, class Component, class Matches, class NotFound>
void FindShellObject(Component& component, TComPtr<IEnumIDList>& enumerator, Matches matches, NotFound notFound) {
    typename Lists::List previous = Lists::Copy(component.ObjectIDList());
    enumerator.Reset();
    for (;;) {
        if (!component.Next()) {
            enumerator.Reset();
            component.SetObjectIDList(previous.get());
            notFound();
        }
        if (matches()) break;
    }
    enumerator.Reset();
}

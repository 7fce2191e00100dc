// The checks of the menu-document fuzz targets.
#pragma once
#include <cstdint>
#include <string>

#include "classlib/core/exceptions.h"
#include "editor/document/menu_document.h"
#include "editor/document/sample_document_test.h"
#include "fuzz/fuzz_support.h"

// The bytes WriteMenuDocument makes of the holder's document.
inline std::string DocumentBytes(TTestHolder& holder) {
    const std::string name = fuzz::ScratchName(".out.qbx");
    if (!WriteMenuDocument(holder, name)) fuzz::Fail("a document could not be written");
    std::string bytes = fuzz::ReadFile(name);
    std::remove(name.c_str());
    return bytes;
}

inline void CheckDocumentRead(const uint8_t* data, size_t size, int64_t offset) {
    const std::string input = fuzz::ScratchName(".in.qbx");
    fuzz::WriteFile(input, data, size);
    const int open = fuzz::OpenDescriptors();
    TTestHolder holder;
    BuildSample(holder);
    holder.MenuTree().SetSelected(holder.Root());  // as every open begins
    const std::string before = DocumentBytes(holder);
    bool read = false;
    try {
        read = ReadMenuDocument(holder, input, offset);
        fuzz::Check(read, "an existing document file was not opened");
    } catch (const EInOutError&) {
        fuzz::Check(DocumentBytes(holder) == before, "a failed read changed the document");
    }
    std::remove(input.c_str());
    if (read) {
        const std::string written = DocumentBytes(holder);
        const std::string again = fuzz::ScratchName(".again.qbx");
        fuzz::WriteFile(again, reinterpret_cast<const uint8_t*>(written.data()), written.size());
        TTestHolder reread;
        try {
            fuzz::Check(ReadMenuDocument(reread, again), "a written document could not be opened");
        } catch (const EInOutError&) {
            fuzz::Fail("a written document could not be read back");
        }
        std::remove(again.c_str());
        fuzz::Check(DocumentBytes(reread) == written, "a document read back was written with other bytes");
    }
    fuzz::Check(fuzz::OpenDescriptors() == open, "the reader left a file open");
}

// The checks of the menu-document fuzz targets, all in memory.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "classlib/core/exceptions.h"
#include "editor/document/document_binding.h"
#include "editor/document/document_codec.h"
#include "editor/document/sample_document_test.h"
#include "fuzz/fuzz_support.h"

// The bytes the writer makes of the holder's document.
inline std::string DocumentBytes(TTestHolder& holder) {
    return SerialiseMenuDocument(CaptureMenuDocument(holder));
}

// doc opened in a holder and saved again.
inline std::string BytesThroughHolder(const TMenuDocument& doc) {
    TTestHolder holder;
    ApplyMenuDocument(holder, doc);
    return DocumentBytes(holder);
}

// Bytes that read as a document are written back to bytes that read as the
// same document; through a holder, a document saved once stays as it is.
// Bytes that do not read raise only EInOutError.
inline void CheckDocumentBytes(std::string_view bytes) {
    TMenuDocument doc;
    try {
        doc = ParseMenuDocument(bytes);
    } catch (const EInOutError&) {
        return;
    }
    const std::string written = SerialiseMenuDocument(doc);
    TMenuDocument again;
    try {
        again = ParseMenuDocument(written);
    } catch (const EInOutError&) {
        fuzz::Fail("a written document could not be read back");
    }
    fuzz::Check(again == doc, "a written document read back as another");
    fuzz::Check(SerialiseMenuDocument(again) == written, "a document read back was written with other bytes");

    const std::string held = BytesThroughHolder(doc);
    fuzz::Check(BytesThroughHolder(ParseMenuDocument(held)) == held,
                "a document saved from a holder changed when saved again");
}

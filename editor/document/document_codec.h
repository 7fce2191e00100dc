// A menu document (.qbx) as bytes: the tree below the root in pre-order
// with link tags, the end tag 99, the settings, the two fonts. Both
// functions work on memory alone and keep no state between calls.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editor/document/document_value.h"

enum TDocumentTag : uint8_t { TagFirstChild = 0, TagNextSibling = 1, TagParent = 2, TagEndOfTree = 99 };

// The document that bytes begins with; what follows its second font is
// never looked at. Raises EInOutError with the file layer's code and
// message: end of file (100) for a document cut short or a string running
// past the end, an invalid image for a node beside the root. Unknown tags
// are skipped, and a climb above the root stays at the root.
TMenuDocument ParseMenuDocument(std::string_view bytes);

// The bytes of doc, which ParseMenuDocument reads back as doc (a font name
// is cut to 255 bytes, a switch stored as 0 or 1).
std::string SerialiseMenuDocument(const TMenuDocument& doc);
// The same bytes handed to `piece` in order, in pieces of about pieceBytes
// (a piece ends after a node; the last may be shorter).
void SerialiseMenuDocument(const TMenuDocument& doc, const std::function<void(std::string_view)>& piece,
                           size_t pieceBytes);

// Tests' helper: the sample document most document tests start from.
#pragma once
#include "editor/document/test_holder_test.h"

// Two top-level categories; the first holds two entries and a nested
// category with one entry, the second one entry. The first entry is
// selected.
inline void BuildSample(TTestHolder& h) {
    TTreeNode* test = h.AddCategory(h.Root(), "This is a test");
    TTreeNode* caption = h.AddEntry(test, "This is a caption", "Line one\r\nLine two", "setup.exe", "pics\\a.bmp");
    h.AddEntry(test, "Second", "", "", "");
    TTreeNode* nested = h.AddCategory(test, "Nested");
    h.AddEntry(nested, "Deep", "deep text", "C:\\CD\\docs\\deep.txt", "");
    TTreeNode* other = h.AddCategory(h.Root(), "Other");
    h.AddEntry(other, "Last", "x", "", "C:\\CD\\pics\\b.jpg");
    h.MenuTree().SetSelected(caption);
}

// A document holder for tests: a windowless menu tree whose deletion frees
// entry records, settings and two fonts, holding the start-up document.
#pragma once
#include "editor/document/document_binding.h"
#include "editor/document/document_holder.h"
#include "editor/document/entry_data.h"
#include "classlib/core/font.h"
#include "classlib/core/treenodes.h"

class TTestHolder : public TMenuDocumentHolder, public TTreeNodesOwner {
public:
    TTestHolder() : tree_(MakeOwned<TTreeNodes>(this)) {
        root_ = tree_->Add(nullptr, "Themes");
        root_->SetImageIndex(0);
        root_->SetSelectedIndex(0);
        ApplyMenuDocument(*this, TMenuDocument{});
    }
    ~TTestHolder() override { tree_.reset(); }

    TTreeNodes& MenuTree() override { return *tree_; }
    TMenuSettings MenuSettings() const override { return settings_; }
    void SetMenuSettings(const TMenuSettings& s) override { settings_ = s; }
    TFont& CaptionFont() override { return *caption_font_; }
    TFont& MainTextFont() override { return *main_font_; }

    // The menu tree's own deletion rule, counted.
    void DoDeletion(TTreeNode* node) override {
        if (node->ImageIndex() != 0 && node->Data()) ++freed_records;
        FreeNodeEntry(node);
    }

    TTreeNode* Root() const { return root_; }
    TTreeNode* AddCategory(TTreeNode* parent, const std::string& text) {
        TTreeNode* n = tree_->AddChild(parent, text);
        n->SetImageIndex(0);
        n->SetSelectedIndex(2);
        return n;
    }
    TTreeNode* AddEntry(TTreeNode* parent, const std::string& text, const std::string& body,
                        const std::string& file, const std::string& picture) {
        TTreeNode* n = tree_->AddChild(parent, text);
        n->SetImageIndex(1);
        n->SetSelectedIndex(3);
        n->SetData(NewEntryData(body, file, picture));
        return n;
    }

    int freed_records = 0;

private:
    TOwned<TTreeNodes> tree_;
    TTreeNode* root_;
    TMenuSettings settings_;
    TOwned<TFont> caption_font_ = MakeOwned<TFont>();
    TOwned<TFont> main_font_ = MakeOwned<TFont>();
};

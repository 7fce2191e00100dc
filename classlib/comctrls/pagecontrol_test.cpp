#include "classlib/comctrls/pagecontrol.h"

#include <gtest/gtest.h>

#include "classlib/comctrls/comctrls_test_support.h"
#include "classlib/core/filer.h"

namespace {

const char* const kLayout = R"(object Form1: TForm
  Left = 60
  Top = 60
  Width = 420
  Height = 320
  Caption = 'Pages'
  object PageControl1: TPageControl
    Left = 8
    Top = 8
    Width = 380
    Height = 260
    ActivePage = TabSheet2
    TabOrder = 0
    object TabSheet1: TTabSheet
      Caption = 'Allgemein'
    end
    object TabSheet2: TTabSheet
      Caption = 'Men'#252's'
      ImageIndex = 1
      object Tree1: TTreeView
        Left = 4
        Top = 4
        Width = 120
        Height = 100
        Indent = 19
        TabOrder = 0
      end
    end
    object TabSheet3: TTabSheet
      Caption = 'Versteckt'
      TabVisible = False
    end
  end
end
)";

std::string Crlf(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\n') out += '\r';
        out += ch;
    }
    return out;
}

TRect WindowDisplayRect(TPageControl* pages) {
    RECT r;
    GetClientRect(pages->Handle(), &r);
    SendMessageA(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

TEST(PageControl, PagesComeFromALayoutWithTheActivePageItNames) {
    auto form = MakeTestForm();
    ReadComponentFromText(form.get(), Crlf(kLayout));
    auto* pages = dynamic_cast<TPageControl*>(form->FindComponent("PageControl1"));
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 3);
    TTabSheet* sheet1 = pages->Pages(0);
    TTabSheet* sheet2 = pages->Pages(1);
    EXPECT_EQ(sheet1->Name(), "TabSheet1");
    EXPECT_EQ(sheet2->Caption(), "Men\xFCs");
    EXPECT_EQ(sheet2->ImageIndex(), 1);
    EXPECT_EQ(sheet2->PageControl(), pages);
    EXPECT_EQ(sheet2->PageIndex(), 1);
    EXPECT_FALSE(pages->Pages(2)->TabVisible());
    EXPECT_EQ(pages->ActivePage(), sheet2);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_FALSE(sheet1->Visible());
    EXPECT_TRUE(sheet2->Visible());
    EXPECT_EQ(form->FindComponent("Tree1")->GetParentComponent(), sheet2);
    EXPECT_THROW(pages->Pages(3), EListError);

    ShowAndPump(form.get());
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);  // the hidden tab is not shown
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(sheet2->BoundsRect(), WindowDisplayRect(pages));
    EXPECT_TRUE(IsWindowVisible(sheet2->Handle()));
    EXPECT_FALSE(sheet1->HandleAllocated() && IsWindowVisible(sheet1->Handle()));

    // Written again: pages nested in order, their places not stored.
    std::string text = WriteComponentToText(form.get());
    size_t p1 = text.find("object TabSheet1: TTabSheet"), p2 = text.find("object TabSheet2: TTabSheet");
    EXPECT_NE(p1, std::string::npos);
    EXPECT_LT(p1, p2);
    EXPECT_NE(text.find("ActivePage = TabSheet2"), std::string::npos);
    std::string sheetPart = text.substr(p1, text.find("end", p1) - p1);
    EXPECT_EQ(sheetPart.find("Width"), std::string::npos) << sheetPart;
    EXPECT_EQ(sheetPart.find("Visible"), std::string::npos) << sheetPart;
}

TEST(PageControl, FirstShownPageIsActiveWhenTheLayoutNamesNone) {
    std::string layout = kLayout;
    layout.erase(layout.find("    ActivePage = TabSheet2\n"), 27);
    auto form = MakeTestForm();
    ReadComponentFromText(form.get(), Crlf(layout));
    auto* pages = dynamic_cast<TPageControl*>(form->FindComponent("PageControl1"));
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    EXPECT_TRUE(pages->Pages(0)->Visible());
}

TEST(PageControl, TabsFollowThePagesAndClicksChangeThePage) {
    auto form = MakeTestForm();
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(8, 8, 360, 240);
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"One", "Two", "Three"}) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
        sheets.push_back(sheet);
    }
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    ShowAndPump(form.get());

    int changes = 0;
    pages->OnChange = [&](TObject*) {
        ++changes;
        EXPECT_EQ(pages->ActivePage(), sheets[2]);
    };
    TPoint at = Centre(pages->TabRect(2));
    ClickAt(pages, at.x, at.y);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_TRUE(IsWindowVisible(sheets[2]->Handle()));
    EXPECT_FALSE(IsWindowVisible(sheets[0]->Handle()));

    // Renaming and reordering reach the tabs.
    sheets[1]->SetCaption("Zwei");
    sheets[2]->SetPageIndex(0);
    char text[32] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(pages->Handle(), TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Zwei");
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);

    // Hiding the active page's tab or freeing it brings up the next page.
    sheets[2]->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    sheets[0]->Free();
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(changes, 1);  // none of that came from the user
}

}  // namespace

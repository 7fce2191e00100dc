#include "classlib/gui/callback_barrier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/gui/application.h"
#include "classlib/gui/forms.h"
#include "classlib/gui/graphic_control.h"
#include "classlib/gui/program_entry.h"
#include "classlib/testing/gui_testing.h"

namespace {

constexpr UINT kFail = WM_USER + 71;

// Records what reaches the application's exception handler.
class TReports {
public:
    TReports() {
        Application->OnException = [this](TObject* sender, const std::exception& e) {
            Senders.push_back(sender);
            Texts.push_back(e.what());
        };
    }
    ~TReports() { Application->OnException = nullptr; }
    TReports(const TReports&) = delete;
    TReports& operator=(const TReports&) = delete;

    std::vector<TObject*> Senders;
    std::vector<std::string> Texts;
};

// Takes the application away for a while, as at shut-down.
class TNoApplication {
public:
    TNoApplication() : saved_(Application) { Application = nullptr; }
    ~TNoApplication() { Application = saved_; }
    TNoApplication(const TNoApplication&) = delete;
    TNoApplication& operator=(const TNoApplication&) = delete;

private:
    TApplication* saved_;
};

// A form with a windowed child whose handler of kFail throws.
struct TFailingChild {
    TOwned<TForm> form = MakeOwned<TForm>(nullptr);
    TCustomControl* child = new TCustomControl(form.get());

    TFailingChild() {
        form->SetBounds(100, 100, 200, 150);
        child->SetParent(form.get());
        child->SetBounds(10, 10, 50, 50);
        child->WindowProc = [this](TMessage& m) {
            if (m.Msg == kFail) throw Exception("Handler failed");
            child->WndProc(m);
        };
        form->HandleNeeded();
        child->HandleNeeded();
    }
    LRESULT Fail() const { return SendMessageA(child->Handle(), kFail, 0, 0); }
};

TEST(CallbackBarrier, ExceptionInAMessageHandlerReachesTheApplicationOnce) {
    TFailingChild window;
    TReports reports;
    // The parent's own handler goes on after its child failed.
    bool parentWentOn = false;
    window.form->WindowProc = [&](TMessage& m) {
        if (m.Msg == kFail) {
            window.Fail();
            parentWentOn = true;
            return;
        }
        window.form->WndProc(m);
    };

    EXPECT_EQ(SendMessageA(window.form->Handle(), kFail, 0, 0), 0);
    EXPECT_TRUE(parentWentOn);
    ASSERT_EQ(reports.Texts.size(), 1u);
    EXPECT_EQ(reports.Texts[0], "Handler failed");
    EXPECT_EQ(reports.Senders[0], window.child);

    // The window still works.
    window.child->SetCaption("still here");
    EXPECT_EQ(window.child->Caption(), "still here");
}

TEST(CallbackBarrier, WithoutApplicationTheWindowProcedureReturnsQuietly) {
    TScriptedInteraction seam;
    TFailingChild window;
    {
        TNoApplication shutDown;
        EXPECT_EQ(window.Fail(), 0);
    }
    EXPECT_TRUE(seam.Boxes.empty());
}

TEST(CallbackBarrier, AFailingHandlerIsShownPlainlyAndGoesNoFurther) {
    TScriptedInteraction seam;
    TFailingChild window;
    Application->OnException = [](TObject*, const std::exception&) { throw Exception("Handler broke too"); };
    EXPECT_EQ(window.Fail(), 0);
    Application->OnException = nullptr;
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Handler broke too.");

    // Even the plain message box failing stays inside.
    struct TFailingSeam : TScriptedInteraction {
        int MessageBox(void*, const char*, const char*, unsigned) override { throw Exception("No box"); }
    } broken;
    EXPECT_EQ(window.Fail(), 0);
}

TEST(CallbackBarrier, EnumerationCallbacksCarryTheirExceptionToTheCaller) {
    std::exception_ptr carried;
    int calls = 0;
    auto body = [&] {
        ++calls;
        throw Exception("first");
        return TRUE;
    };
    EXPECT_EQ(CallbackBarrier(carried, FALSE, body), FALSE);
    EXPECT_EQ(CallbackBarrier(carried, FALSE, [] {
                  throw Exception("second");
                  return TRUE;
              }),
              FALSE);
    ASSERT_TRUE(carried);
    try {
        std::rethrow_exception(carried);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "first");
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(CallbackBarrier(carried, FALSE, [] { return TRUE; }), TRUE);
}

TEST(CallbackBarrier, FormHandlersFailingAtShutDownDoNotCrash) {
    TScriptedInteraction seam;
    auto form = MakeOwned<TForm>(nullptr);
    form->HandleNeeded();
    form->OnDestroy = [](TObject*) { throw Exception("OnDestroy failed"); };
    {
        TNoApplication shutDown;
        form.reset();
    }
    EXPECT_TRUE(seam.Boxes.empty());
}

TEST(ProgramEntry, AnExceptionEscapingStartUpEndsWithAMessageBox) {
    TScriptedInteraction seam;
    std::string title = Application->Title();
    int exitCode = RunProgram([] { throw EReadError("Broken layout"); });
    // RunProgram shut the visual layer down; the remaining tests need it.
    EXPECT_EQ(Application, nullptr);
    ClassLibStartup();
    EXPECT_EQ(exitCode, 1);
    ASSERT_EQ(seam.Boxes.size(), 1u);
    EXPECT_EQ(seam.Boxes[0].Text, "Broken layout");
    EXPECT_EQ(seam.Boxes[0].Caption, title);
    EXPECT_TRUE(seam.Boxes[0].Flags & MB_ICONSTOP);

    // An abort ends quietly.
    seam.Boxes.clear();
    EXPECT_EQ(RunProgram([] { Abort(); }), 1);
    ClassLibStartup();
    EXPECT_TRUE(seam.Boxes.empty());
}

}  // namespace

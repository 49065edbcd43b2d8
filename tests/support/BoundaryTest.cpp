// No exception crosses a boundary the library keeps towards its callers: what a body
// throws becomes a failure code at the exports (without a box) and at the automation
// methods (with a report), and a report at every message of a dialog, which goes on
// running. A dialog that cannot open says why.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "ModuleName.h"
#include "automation/MethodBoundary.h"
#include "resources/ControlIds.h"
#include "support/ModalDialog.h"
#include "testkit/FileGuards.h"
#include "testkit/DialogDriver.h"

namespace {

// Reports are traced to a trace file of the test's own, put back afterwards.
struct Boundary : ::testing::Test {
    ModuleName module{"QnBoundaryTest.dll"};
    testkit::TraceFileGuard trace{"QnBoundaryTest"};
    testkit::DialogDriver driver;
    MessageBoxDriver& boxes = driver.boxes();
};

struct Thrown { const char* name; std::function<HRESULT()> body; HRESULT code; const char* report; };
class Thrower : public Boundary, public ::testing::WithParamInterface<Thrown> {};

// Throws from its first message on, then closes on the Cancel it posted itself.
class ThrowingDialog : public ModalDialog {
public:
    ThrowingDialog() : ModalDialog(IDD_REGISTRATION_REPORT) {}
    HWND opened = nullptr;

protected:
    BOOL onInitDialog() override
    {
        opened = hwnd();
        PostMessageA(hwnd(), WM_COMMAND, IDC_REGISTRATION_REPORT, 0);
        throw std::runtime_error("the first handler fails");
    }
    void onCommand(int id, int code, HWND control) override
    {
        if (id != IDC_REGISTRATION_REPORT)
            return ModalDialog::onCommand(id, code, control);
        PostMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
        throw std::bad_alloc();
    }
};

}  // namespace

TEST_P(Thrower, BecomesTheFailureCodeOfTheExportAndOfTheMethod)
{
    const auto passOn = [](HRESULT code) { return code; };  // the exports' report
    EXPECT_EQ(methodBoundaryReportedBy(passOn, GetParam().body), GetParam().code) << "an export's answer";
    EXPECT_EQ(boxes.count(), 0u) << "an export shows nothing";
    EXPECT_EQ(methodBoundary("Method", nullptr, GetParam().body), GetParam().code) << "a method's answer";
    ASSERT_EQ(boxes.count(), 1u) << "a method reports it";
    EXPECT_EQ(boxes.last().text, GetParam().report);
}
INSTANTIATE_TEST_SUITE_P(
    Boundary, Thrower,
    ::testing::Values(Thrown{"OutOfMemory", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY,
                             "Method:  ERROR: Not enough memory\nOut of memory.\r\n(0x8007000E)"},
                      Thrown{"AnythingElse", []() -> HRESULT { throw 7; }, E_UNEXPECTED,
                             "Method:  ERROR: Unexpected error (0x8000FFFF)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Boundary, AFailingDialogHandlerIsReportedOverTheDialogWhichKeepsRunning)
{
    ThrowingDialog dialog;
    EXPECT_EQ(driver.run([&] { return dialog.run(nullptr); }, nullptr), IDCANCEL) << "the dialog ran on to a Cancel";
    ASSERT_EQ(boxes.texts(), (std::vector<std::string>{" ERROR: Unexpected error (0x8000FFFF)",
                                                         " ERROR: Not enough memory\nOut of memory.\r\n(0x8007000E)"}))
        << "one report per failed message";
    EXPECT_EQ(boxes.boxes()[1].owner, dialog.opened) << "owned by the running dialog";
}

TEST_F(Boundary, ADialogThatCannotOpenSaysWhy)
{
    class Missing : public ModalDialog {
    public:
        Missing() : ModalDialog(9999) {}
    } missing;
    EXPECT_EQ(missing.run(nullptr), -1);
    ASSERT_EQ(boxes.count(), 1u) << "the failure is reported, not swallowed";
    EXPECT_EQ(0u, boxes.last().text.find(" ERROR: The dialog (template 9999) could not be opened: "))
        << boxes.last().text;
}

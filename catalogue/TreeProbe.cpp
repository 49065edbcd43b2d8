// The right click in the component tree: the interface probe of the selected
// component lists, under its item, which interfaces the component answers to.
#include "catalogue/CapeOpenDlg.h"
#include "support/ScopedFlag.h"
#include "inspector/InterfaceProbe.h"
#include "support/MTUtils.h"

namespace {

// The probe's lines go under the probed item, without a record (so that choosing or
// probing a line does nothing); its boxes are the dialog's, captioned with the
// application's title.
class TreeProbeOutput final : public ProbeOutput {
public:
    TreeProbeOutput(CCapeOpenDlg& dialog, HTREEITEM componentItem) : dialog_(dialog), item_(componentItem) {}

    void appendLine(const std::string& line) override { dialog_.InsertTreeItem(item_, line, nullptr); }
    void showMessage(const std::string& text) override
    {
        MessageBoxA(dialog_.hwnd(), text.c_str(), MTUtils::applicationTitle().c_str(), MB_OK);
    }

private:
    CCapeOpenDlg& dialog_;
    HTREEITEM item_;
};

}  // namespace

void CCapeOpenDlg::probeSelectedComponent()
{
    // The caret item, not the one under the mouse pointer. Category items, message
    // lines and probe lines carry no record: nothing to probe.
    if (busy_)
        return;
    const HTREEITEM item = tree_.selected();
    const auto record = item ? reinterpret_cast<CAPETREEITEM>(tree_.data(item)) : nullptr;
    if (!record)
        return;
    const ScopedFlag busy(busy_);
    // The probe works on its own copy: its boxes run message loops. For a package the
    // record's ProgID is the package name, which COM does not know: the creation
    // fails and the message names the package.
    const std::string progId = record->ProgID;
    TreeProbeOutput output(*this, item);
    // On this machine, like the catalogue it was chosen from.
    probeComponentInterfaces(progId, nullptr, output);
}

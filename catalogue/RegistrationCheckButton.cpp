// The Component Manager's "Check Registrations..." button: the registration report of
// the categories the dialog lists, in a window of its own over the dialog.
#include "catalogue/CapeOpenDlg.h"
#include "catalogue/RegistrationReport.h"
#include "catalogue/RegistrationReportWindow.h"

void CCapeOpenDlg::onCheckRegistrations()
{
    // Reading the registry and creating every manager takes a moment.
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    std::string report = registrationReport(filterMask);
    SetCursor(previous);
    RegistrationReportWindow(std::move(report)).run(hwnd());
}

// Opening the shown component's web pages (the Vendor URL and Component Help
// buttons) in a browser window.
#include "catalogue/CapeOpenDlg.h"

// Not built yet: the web-links work opens url through the web browser's automation
// object. Until then the buttons open nothing.
HRESULT CCapeOpenDlg::NavigateToURL(const std::string&)
{
    return S_OK;
}

// The right click in the component tree: the interface probe of the selected
// component lists, under its item, which interfaces the component answers to.
#include "catalogue/CapeOpenDlg.h"

// Not built yet: the inspector work creates the selected item's component and
// appends one line per probed interface under the item. Until then a right click
// adds nothing.
void CCapeOpenDlg::probeSelectedComponent() {}

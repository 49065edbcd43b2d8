#pragma once
#include "catalogue/CatalogueRecord.h"

// Whether a tree item may be chosen: it carries a record, and either the owner's
// filter is exactly catf_UnitOperation, or its parent carries a record (a package of
// a manager), or the record is a CAPE-OPEN 1.1 property package (CATID compared
// case-sensitively). Categories, message and probe lines and managers never can.
bool itemAcceptable(const CAPETreeItemTag* record, const CAPETreeItemTag* parentRecord, unsigned long ownerFilter);

#include "catalogue/Acceptability.h"

#include "catalogue/CategoryTable.h"

bool itemAcceptable(const CAPETreeItemTag* record, const CAPETreeItemTag* parentRecord, unsigned long ownerFilter)
{
    if (!record)
        return false;
    return ownerFilter == kUnitOperationFilter || parentRecord != nullptr || record->CATID == kCategoryTable[2].catid;
}

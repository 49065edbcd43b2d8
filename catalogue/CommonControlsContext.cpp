#include "catalogue/CommonControlsContext.h"

CommonControlsContext::CommonControlsContext(HMODULE module)
{
    ACTCTXA description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.hModule = module;
    description.lpResourceName = MAKEINTRESOURCEA(3);  // ISOLATIONAWARE_NOSTATICIMPORT_MANIFEST_RESOURCE_ID
    context_ = CreateActCtxA(&description);
    if (context_ != INVALID_HANDLE_VALUE && !ActivateActCtx(context_, &cookie_))
        cookie_ = 0;
}

CommonControlsContext::~CommonControlsContext()
{
    if (cookie_)
        DeactivateActCtx(0, cookie_);
    if (context_ != INVALID_HANDLE_VALUE)
        ReleaseActCtx(context_);
}

// Members of ICCAPEGUI whose behaviour belongs to parts of the object that are not
// built yet (creation, persistence). They hold their vtable slots and answer
// E_NOTIMPL; each moves to its own file when its part is built.
#include "automation/CCCAPEGUI.h"

HRESULT STDMETHODCALLTYPE CCCAPEGUI::createComp(IDispatch**, IDispatch**) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CCCAPEGUI::setComponent(IDispatch*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE CCCAPEGUI::getPersistType(LONG*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE CCCAPEGUI::saveStorage() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE CCCAPEGUI::loadStorage(VARIANT_BOOL) { return E_NOTIMPL; }

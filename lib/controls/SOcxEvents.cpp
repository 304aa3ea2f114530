#include "SOcxEvents.h"

SOcxEvents::SOcxEvents() : m_refCount(0)
{
}

SOcxEvents::~SOcxEvents()
{
}

HRESULT STDMETHODCALLTYPE SOcxEvents::QueryInterface(REFIID riid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!AcceptInterface(riid, out))
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch))
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE SOcxEvents::AddRef()
{
    return (ULONG)InterlockedIncrement(&m_refCount);
}

ULONG STDMETHODCALLTYPE SOcxEvents::Release()
{
    // The count never goes below 0, and reaching 0 deletes nothing: the host owns the object.
    LONG count = m_refCount;
    while (count > 0)
    {
        LONG seen = InterlockedCompareExchange(&m_refCount, count - 1, count);
        if (seen == count)
            return (ULONG)(count - 1);
        count = seen;
    }
    return 0;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                             EXCEPINFO*, UINT*)
{
    if (!params)
        return E_INVALIDARG;
    return OnEvent(dispid, params);
}

bool SOcxEvents::AcceptInterface(REFIID, void**)
{
    return false;
}

HRESULT SOcxEvents::OnEvent(DISPID, DISPPARAMS*)
{
    return S_OK;
}

SAtlAxAttachControlProc SLoadAtlAttach(SDll* atl)
{
    if (!atl->Load("atl.dll"))
        return nullptr;
    auto attach = (SAtlAxAttachControlProc)(void*)atl->GetProc("AtlAxAttachControl");
    if (!attach)
        atl->Free();
    return attach;
}

void SAdviseSink(IUnknown* object, REFIID events, IDispatch* sink, IConnectionPoint** point, DWORD* cookie)
{
    *point = nullptr;
    *cookie = 0;
    IConnectionPointContainer* container = nullptr;
    if (!object || FAILED(object->QueryInterface(IID_IConnectionPointContainer, (void**)&container)) ||
        !container)
        return;
    if (FAILED(container->FindConnectionPoint(events, point)))
        *point = nullptr;
    container->Release();
    if (*point && FAILED((*point)->Advise(sink, cookie)))
        *cookie = 0;
}

void SUnadviseSink(IConnectionPoint** point, DWORD* cookie)
{
    if (*point)
    {
        if (*cookie)
            (*point)->Unadvise(*cookie);
        (*point)->Release();
    }
    *point = nullptr;
    *cookie = 0;
}

LONG SEventArgumentLong(const VARIANTARG* argument)
{
    if (!argument)
        return 0;
    VARTYPE type = argument->vt;
    if (type & VT_BYREF)
    {
        if (!argument->byref)
            return 0;
        switch (type & ~VT_BYREF)
        {
        case VT_I1: return *(const signed char*)argument->byref;
        case VT_UI1: return *(const unsigned char*)argument->byref;
        case VT_I2: case VT_BOOL: return *(const short*)argument->byref;
        case VT_UI2: return *(const unsigned short*)argument->byref;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return *(const LONG*)argument->byref;
        case VT_VARIANT: return SEventArgumentLong((const VARIANTARG*)argument->byref);
        default: return 0;
        }
    }
    switch (type)
    {
    case VT_I1: return argument->cVal;
    case VT_UI1: return argument->bVal;
    case VT_I2: return argument->iVal;
    case VT_UI2: return argument->uiVal;
    case VT_BOOL: return argument->boolVal;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: return argument->lVal;
    default: return 0;
    }
}

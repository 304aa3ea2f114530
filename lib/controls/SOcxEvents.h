#pragma once
// The dispatch object a host advises on an ActiveX control's connection point to
// receive the control's events, and the helpers every ActiveX host shares.
#include <windows.h>
#include <ocidl.h>

#include "SDll.h"

// AtlAxAttachControl of "atl.dll": embeds a control in a window.
typedef HRESULT(WINAPI* SAtlAxAttachControlProc)(IUnknown* control, HWND window, IUnknown** container);

// Minimal event sink: answers IUnknown, IDispatch and whatever AcceptInterface accepts,
// and hands every Invoke to OnEvent. Its reference count never deletes it: the host
// that created it deletes it after unadvising it.
class SOcxEvents : public IDispatch
{
public:
    SOcxEvents();
    SOcxEvents(const SOcxEvents&) = delete;
    SOcxEvents& operator=(const SOcxEvents&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    // Counts down to 0 and stays there; never deletes the object.
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    // E_INVALIDARG without parameters; else the answer of OnEvent.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    virtual ~SOcxEvents();
    // A derived sink accepts its event interface here, storing itself in *out.
    virtual bool AcceptInterface(REFIID riid, void** out);
    // One event of the control; the default ignores it.
    virtual HRESULT OnEvent(DISPID dispid, DISPPARAMS* params);

    // The current reference count.
    LONG GetRefCount() const { return m_refCount; }

private:
    volatile LONG m_refCount;
};

// Loads "atl.dll" into the holder and returns its AtlAxAttachControl; null (and the
// library freed) when either is missing.
SAtlAxAttachControlProc SLoadAtlAttach(SDll* atl);

// Finds the connection point of an event interface on an object and advises the sink
// on it; a missing container or connection point leaves *point null and *cookie 0.
void SAdviseSink(IUnknown* object, REFIID events, IDispatch* sink, IConnectionPoint** point, DWORD* cookie);

// Unadvises and releases a connection point set by SAdviseSink; nothing when it is null.
void SUnadviseSink(IConnectionPoint** point, DWORD* cookie);

// The 32-bit value of an event argument of any integer or boolean type (by value or by
// reference); 0 for other types.
LONG SEventArgumentLong(const VARIANTARG* argument);

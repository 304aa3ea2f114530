#pragma once
// Raises the browser's events on a control's own sink, as the browser object does.
#include <windows.h>
#include <exdispid.h>

#include "SBrowserCtrl.h"

// BeforeNavigate2 with the URL (its other arguments empty); true when the sink answered
// S_OK and wrote the cancel back.
inline bool RaiseBeforeNavigate(SBrowserCtrl::_SEvents* sink, const wchar_t* url)
{
    BSTR text = SysAllocString(url);
    VARIANT urlValue;
    urlValue.vt = VT_BSTR;
    urlValue.bstrVal = text;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    // The arguments come last first: the URL is the second, the cancel flag the last.
    VARIANTARG arguments[7];
    for (auto& argument : arguments)
        VariantInit(&argument);
    arguments[5].vt = VT_VARIANT | VT_BYREF;
    arguments[5].pvarVal = &urlValue;
    arguments[0].vt = VT_BOOL | VT_BYREF;
    arguments[0].pboolVal = &cancel;
    DISPPARAMS params = {arguments, nullptr, 7, 0};
    HRESULT result =
        sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    SysFreeString(text);
    return result == S_OK && cancel == VARIANT_TRUE;
}

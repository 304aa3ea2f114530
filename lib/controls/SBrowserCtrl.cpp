#include "SBrowserCtrl.h"

#include <exdispid.h>

#include "SControl.h"
#include "SFile.h"
#include "SFilePath.h"
#include "SUniString.h"

namespace
{
const CLSID kWebBrowserClass = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
const IID kWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
const IID kWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

// The BSTR an event argument holds directly or through a VARIANT reference; null otherwise.
BSTR ArgumentText(const VARIANTARG* argument)
{
    if (argument->vt == VT_BSTR)
        return argument->bstrVal;
    if (argument->vt == (VT_BSTR | VT_BYREF) && argument->pbstrVal)
        return *argument->pbstrVal;
    if (argument->vt == (VT_VARIANT | VT_BYREF) && argument->pvarVal)
        return ArgumentText(argument->pvarVal);
    return nullptr;
}
} // namespace

bool SBrowserCtrl::_SEvents::AcceptInterface(REFIID riid, void** out)
{
    if (!IsEqualIID(riid, kWebBrowserEvents2))
        return false;
    *out = static_cast<IDispatch*>(this);
    return true;
}

HRESULT SBrowserCtrl::_SEvents::OnEvent(DISPID dispid, DISPPARAMS* params)
{
    if (!owner || !owner->GetHandle())
        return S_OK;
    WPARAM control = (WPARAM)owner;
    UINT count = params->cArgs;
    VARIANTARG* arguments = params->rgvarg; // last argument first
    switch (dispid)
    {
    case DISPID_BEFORENAVIGATE2:
    {
        if (count < 2 || !arguments)
            break;
        SString url;
        if (BSTR text = ArgumentText(&arguments[count - 2]))
            url.FromWide(text);
        LRESULT answer = owner->SendMessageToParent(WM_S_BROWSER_BEFORE_NAVIGATE, control, (LPARAM)url.GetBuffer());
        VARIANTARG& cancel = arguments[0];
        if (answer && cancel.vt == (VT_BOOL | VT_BYREF) && cancel.pboolVal)
            *cancel.pboolVal = VARIANT_TRUE;
        break;
    }
    case DISPID_PROGRESSCHANGE:
    {
        if (count < 2 || !arguments)
            break;
        LONG values[2] = {SEventArgumentLong(&arguments[1]), SEventArgumentLong(&arguments[0])};
        if (values[0] != -1)
            owner->SendMessageToParent(WM_S_BROWSER_PROGRESS, control, (LPARAM)values);
        break;
    }
    case DISPID_DOCUMENTCOMPLETE: owner->SendMessageToParent(WM_S_BROWSER_DOCUMENT, control, 0); break;
    case DISPID_NAVIGATEERROR: owner->SendMessageToParent(WM_S_BROWSER_DOCUMENT, control, 1); break;
    case DISPID_TITLECHANGE: owner->SendMessageToParent(WM_S_BROWSER_TITLE, control, 0); break;
    case DISPID_STATUSTEXTCHANGE: owner->SendMessageToParent(WM_S_BROWSER_STATUS, control, 0); break;
    case DISPID_ONQUIT: owner->SendMessageToParent(WM_S_BROWSER_QUIT, control, 0); break;
    default: break;
    }
    return S_OK;
}

SBrowserCtrl::SBrowserCtrl()
    : m_attach(nullptr), m_browser(nullptr), m_connectionPoint(nullptr), m_sink(nullptr), m_cookie(0),
      m_keepHistory(true), m_counter(0), m_container(nullptr), m_browserOnFirstUse(false), m_browserTried(false)
{
    SetKind(SKIND_WEB);
}

SBrowserCtrl::~SBrowserCtrl()
{
    Destroy();
    DestroyBrowser();
    if (!m_tempFile.IsEmpty())
        m_disk.DeleteFile(m_tempFile);
}

bool SBrowserCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                          LPARAM creationParam)
{
    return CreateChildNoCaption(style, exStyle, rect, parent, id, creationParam);
}

bool SBrowserCtrl::CreateBrowser()
{
    DestroyBrowser();
    m_attach = SLoadAtlAttach(&m_atl);
    if (!m_attach || !GetHandle())
    {
        DestroyBrowser();
        return false;
    }
    if (FAILED(CoCreateInstance(kWebBrowserClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                kWebBrowser2, (void**)&m_browser)) ||
        !m_browser)
    {
        m_browser = nullptr;
        DestroyBrowser();
        return false;
    }
    m_sink = new _SEvents();
    m_sink->owner = this;
    m_sink->AddRef();
    SAdviseSink(m_browser, kWebBrowserEvents2, m_sink, &m_connectionPoint, &m_cookie);
    // A null container out-pointer makes some hosts attach nothing at all.
    if (m_attach(m_browser, GetHandle(), &m_container) != S_OK)
    {
        DestroyBrowser();
        return false;
    }
    return true;
}

void SBrowserCtrl::DestroyBrowser()
{
    SUnadviseSink(&m_connectionPoint, &m_cookie);
    if (m_sink)
    {
        m_sink->Release();
        delete m_sink;
        m_sink = nullptr;
    }
    if (m_browser)
        m_browser->Quit();
    if (m_container)
    {
        m_container->Release();
        m_container = nullptr;
    }
    if (m_browser)
    {
        m_browser->Release();
        m_browser = nullptr;
    }
    m_attach = nullptr;
    m_atl.Free();
}

bool SBrowserCtrl::EnsureBrowser()
{
    if (m_browser)
        return true;
    if (!m_browserOnFirstUse || m_browserTried || !GetHandle())
        return false;
    m_browserTried = true;
    return CreateBrowser();
}

bool SBrowserCtrl::Navigate(const char* url, const char* tag)
{
    if (!EnsureBrowser())
        return false;
    m_tag = tag;
    BSTR target = SysAllocString(SUniString(url));
    if (!target)
        return false;
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_INT;
    flags.intVal = m_keepHistory ? 0 : navNoHistory;
    HRESULT result = m_browser->Navigate(target, &flags, nullptr, nullptr, nullptr);
    SysFreeString(target);
    return SUCCEEDED(result);
}

bool SBrowserCtrl::NavigateStream(SFile* source, const char* tag, const char* extension)
{
    if (!source || !EnsureBrowser())
        return false;
    if (!m_tempFile.IsEmpty())
    {
        m_disk.DeleteFile(m_tempFile);
        m_tempFile.Empty();
    }
    m_counter++;
    SString title;
    title.Format("blwbrowser_%d_", m_counter);
    SString path = m_disk.GetUniqueFileName(m_disk.GetTempFolder(), title, extension ? extension : "");
    if (path.IsEmpty())
        return false;
    SFilePath file;
    if (!file.Open(path, true, true, true))
        return false;
    int expected = source->GetRemaining();
    bool copied = file.CopyFrom(source) == expected;
    file.Close();
    // A half-written page is never shown nor kept.
    if (!copied)
    {
        m_disk.DeleteFile(path);
        return false;
    }
    m_tempFile = path;
    return Navigate(path, tag);
}

void SBrowserCtrl::SetSilent(bool silent)
{
    if (EnsureBrowser())
        m_browser->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

LRESULT SBrowserCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_S_CREATED:
        m_browserTried = false;
        if (!m_browserOnFirstUse && !CreateBrowser())
            return -1;
        break;
    case WM_S_PARENT_SIZED:
    case WM_S_PARENT_MOVED:
        RedrawNow();
        break;
    default: break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

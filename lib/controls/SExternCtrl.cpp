#include "SExternCtrl.h"

#include <string.h>

SExternCtrl::SExternCtrl()
{
    SetKind(SKIND_EXTERN);
}

SExternCtrl::~SExternCtrl() = default;

LRESULT SExternCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg)
    {
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam, (HDC)wParam);
        break;
    case WM_S_CREATED:
        SetBackColor(0xFFFFFF);
        break;
    default:
        break;
    }
    return SWnd::OnMessage(msg, wParam, lParam);
}

void SExternCtrl::AddEntry(const char* key, const char* value)
{
    m_keys.Add(key ? key : "");
    // The values list may already be longer than the keys list: keep them paired.
    if (m_values.GetCount() < m_keys.GetCount())
        m_values.Add("", -1, m_keys.GetCount() - m_values.GetCount());
    m_values.SetAt(m_keys.GetCount() - 1, value ? value : "");
}

char* SExternCtrl::BuildEntryBlock() const
{
    int count = GetEntryCount();
    size_t size = 1;
    for (int i = 0; i < count; i++)
        size += (size_t)m_keys.GetAt(i).GetLength() + (size_t)m_values.GetAt(i).GetLength() + 2;
    char* block = new char[size];
    char* out = block;
    for (int i = 0; i < count; i++)
    {
        const SString* texts[2] = {m_keys.GetString(i), m_values.GetString(i)};
        for (const SString* text : texts)
        {
            int length = text ? text->GetLength() : 0;
            if (length)
                memcpy(out, text->GetText(), (size_t)length);
            out += length;
            *out++ = 0;
        }
    }
    *out = 0;
    return block;
}

#pragma once
// The stand-in window of a dialog for a control supplied from outside the system:
// it keeps the control's name, file name and key/value entries and paints a
// white background. Nothing here loads or runs the named file.
#include "SStringArray.h"
#include "SWnd.h"

class SExternCtrl : public SWnd
{
public:
    SExternCtrl();
    ~SExternCtrl() override;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The external control's name and the file that supplies it (stored only).
    // SetName hides the window's own name setter; the dialog builder calls SetExternName.
    void SetName(const char* name) { m_externName = name ? name : ""; }
    void SetExternName(const char* name) { SetName(name); }
    const SString& GetExternName() const { return m_externName; }
    void SetFileName(const char* fileName) { m_fileName = fileName ? fileName : ""; }
    const SString& GetFileName() const { return m_fileName; }

    // Appends one entry (value i belongs to key i).
    void AddEntry(const char* key, const char* value);
    // The number of keys.
    int GetEntryCount() const { return m_keys.GetCount(); }
    // A new block (free it with delete[]) holding each key and its value, each ended by a
    // zero byte, and one closing zero byte; a single zero byte when there is no key.
    char* BuildEntryBlock() const;

private:
    SString m_externName;   // the description's EXTERN_NAME
    SString m_fileName;     // the description's EXTERN_FILENAME
    SStringArray m_keys;    // entry keys
    SStringArray m_values;  // entry values, parallel to the keys
};

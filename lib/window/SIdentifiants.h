#pragma once

#include "SArray.h"
#include "SStringArray.h"

// The library's name tables: cursor names to cursor numbers and system colour
// names to GetSysColor indexes, as used by dialog descriptions and settings.
class SIdentifiants
{
public:
    SIdentifiants();
    virtual ~SIdentifiants();
    SIdentifiants(const SIdentifiants&) = delete;
    SIdentifiants& operator=(const SIdentifiants&) = delete;

    // Cursor number of a name (case-sensitive); -1 when unknown.
    int GetCursorNumber(const char* name) const;
    // Name of a cursor number; "" when it has none.
    SString GetCursorName(int number) const;
    // System colour index of a name (case-sensitive); -1 when unknown.
    int GetSystemColorIndex(const char* name) const;
    // Name of a system colour index; "" when not in the table.
    SString GetSystemColorName(int index) const;
    // The tables themselves, entry i of a name list belonging to entry i of its numbers.
    const SArray<int>& GetCursorNumbers() const { return m_cursorNumbers; }
    const SStringArray& GetCursorNames() const { return m_cursorNames; }
    const SArray<int>& GetColorIndexes() const { return m_colorIndexes; }
    const SStringArray& GetColorNames() const { return m_colorNames; }

private:
    SArray<int> m_cursorNumbers;
    SStringArray m_cursorNames;
    SArray<int> m_colorIndexes;
    SStringArray m_colorNames;
};

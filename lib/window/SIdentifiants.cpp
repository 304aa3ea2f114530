#include "SIdentifiants.h"

namespace
{

struct NamedNumber
{
    const char* name;
    int number;
};

const NamedNumber kCursorNames[] = {
    {"Arrow", 0}, {"AppStarting", 1}, {"Cross", 2}, {"Help", 4}, {"IBeam", 5}, {"No", 6},
    {"SizeAll", 7}, {"SizeNESW", 8}, {"SizeNS", 9}, {"SizeNWSE", 10}, {"SizeWE", 11},
    {"UpArrow", 12}, {"Wait", 13}, {"Dropper", 16}, {"Fill", 17}, {"HandMove", 18},
    {"Pen", 19}, {"Zoom", 20},
};

const NamedNumber kColorNames[] = {
    {"3DDkShadow", 21}, {"3DFace", 15}, {"3DHighLight", 20}, {"3DLight", 22},
    {"3DShadow", 16}, {"ActiveBorder", 10}, {"ActiveCaption", 2}, {"AppWorkspace", 12},
    {"Background", 1}, {"BtnText", 18}, {"CaptionText", 9}, {"GradientActiveCaption", 27},
    {"GradientInactiveCaption", 28}, {"GrayText", 17}, {"HighLight", 13},
    {"HighLightText", 14}, {"HotLight", 26}, {"InactiveBorder", 11}, {"InactiveCaption", 3},
    {"InactiveCaptionText", 19}, {"InfoBk", 24}, {"InfoText", 23}, {"Menu", 4},
    {"MenuHiLight", 29}, {"MenuBar", 30}, {"MenuText", 7}, {"ScrollBar", 0}, {"Window", 5},
    {"WindowFrame", 6}, {"WindowText", 8},
};

int NumberOfName(const SArray<int>& numbers, const SStringArray& names, const char* name)
{
    if (!name)
        return -1;
    int index = names.Find(name);
    return index >= 0 && index < numbers.GetCount() ? numbers.GetAt(index) : -1;
}

SString NameOfNumber(const SArray<int>& numbers, const SStringArray& names, int number)
{
    int index = numbers.Find(number);
    if (index < 0 || index >= names.GetCount())
        return SString();
    return names.GetAt(index);
}

}

SIdentifiants::SIdentifiants()
{
    for (const NamedNumber& entry : kCursorNames)
    {
        m_cursorNumbers.Add(entry.number);
        m_cursorNames.Add(entry.name);
    }
    for (const NamedNumber& entry : kColorNames)
    {
        m_colorIndexes.Add(entry.number);
        m_colorNames.Add(entry.name);
    }
}

SIdentifiants::~SIdentifiants()
{
}

int SIdentifiants::GetCursorNumber(const char* name) const
{
    return NumberOfName(m_cursorNumbers, m_cursorNames, name);
}

SString SIdentifiants::GetCursorName(int number) const
{
    return NameOfNumber(m_cursorNumbers, m_cursorNames, number);
}

int SIdentifiants::GetSystemColorIndex(const char* name) const
{
    return NumberOfName(m_colorIndexes, m_colorNames, name);
}

SString SIdentifiants::GetSystemColorName(int index) const
{
    return NameOfNumber(m_colorIndexes, m_colorNames, index);
}

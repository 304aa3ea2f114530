#pragma once
// The designer's property vocabulary as data: for every control type the items
// the property sheet shows, in order, with the group, kind and where the value
// lives in the record; the choice lists; the choices coded in STYLE bits; the
// anchor values. The fill reads these rows one way, the apply the other.
#include <stdint.h>

class SDesignerPropertyTable
{
public:
    // Where an item's value lives in a control record.
    enum
    {
        SOURCE_EXTRA,       // extra property text
        SOURCE_EXTRA_INT,   // extra property read as an integer
        SOURCE_STYLE,       // every bit of the mask set in STYLE
        SOURCE_STYLE_NOT,   // not every bit of the mask set in STYLE
        SOURCE_EXSTYLE,     // every bit of the mask set in EXSTYLE
        SOURCE_CODED,       // a choice coded in STYLE bits (see Coded)
        SOURCE_BACKCOLOR,   // record fields, offered whatever types the selection mixes
        SOURCE_TEXTCOLOR,
        SOURCE_TRANSPARENT,
        SOURCE_BORDERSET,   // the group of BORDER, CLIENTEDGE and STATICEDGE
        SOURCE_EXTERNAL     // the group of the external control's own properties
    };

    // Choice lists; LIST_NONE is a choice item without entries.
    enum
    {
        LIST_NONE, LIST_HANCHOR, LIST_VANCHOR, LIST_HORZ, LIST_VERT, LIST_HORZJUSTIFY, LIST_DRAWMODE, LIST_COMBO,
        LIST_EXLIST, LIST_LISTSELECTION, LIST_TAB, LIST_EDGE, LIST_CONTROLS, LIST_LEVELS, LIST_COUNT
    };

    // One item of a type's branch.
    struct Row
    {
        int type;
        const char* group;
        const char* key;
        int kind;
        int source;
        uint32_t mask;
        int list;
    };

    // One choice coded in STYLE: shown when every bit of test is set (test 0: the
    // fallback), written as bits after the item's mask is cleared.
    struct CodedChoice
    {
        const char* key;
        uint32_t test;
        uint32_t bits;
    };

    // A choice item coded in STYLE: choices in the order the shown value is decided.
    struct Coded
    {
        const char* key;
        uint32_t mask;
        int count;
        CodedChoice choices[4];
    };

    // The rows of a type in the order they are shown; count 0 for an unknown type.
    static const Row* GetRows(int type, int* count);
    // The row of a type with the key; null when the type shows no such item.
    static const Row* FindRow(int type, const char* key);
    // The coding of a coded choice item; null for any other key.
    static const Coded* FindCoded(const char* key);
    // The key shown for STYLE bits.
    static const char* GetCodedKey(const Coded* coded, uint32_t style);
    // The STYLE bits of a choice key; false when the key is none of the choices.
    static bool GetCodedBits(const Coded* coded, const char* key, uint32_t* bits);

    // The keys of a fixed choice list (not LIST_CONTROLS or LIST_LEVELS); the count.
    static int GetChoiceKeys(int list, const char* const** keys);
    // The anchor key of a stored HALIGN or VALIGN value; the first key for any other value.
    static const char* GetAnchorKey(bool vertical, int value);
    // The stored value of an anchor key; -1 for any other text.
    static int GetAnchorValue(bool vertical, const char* key);

    // The type shows FONT; the type passes the CAPTION test.
    static bool HasFont(int type);
    static bool HasCaption(int type);
};

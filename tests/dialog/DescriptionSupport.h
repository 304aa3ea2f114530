#pragma once
// Descriptions loaded from and saved to memory, and a model written out field by
// field so that two models can be compared record by record.
#include <stdio.h>

#include <string>

#include "SDialogEditor.h"
#include "SFileMem.h"

inline bool LoadText(SDialogEditor& editor, const std::string& text)
{
    SFileMem stream;
    stream.Allocate(0);
    stream.Write(text.data(), (int)text.size());
    stream.Rewind();
    return editor.Load(&stream);
}

inline std::string SaveText(SDialogEditor& editor, bool* ok = nullptr)
{
    SFileMem stream;
    stream.Allocate(0);
    bool saved = editor.Save(&stream);
    if (ok)
        *ok = saved;
    return std::string((const char*)stream.GetBuffer(), (size_t)stream.GetSize());
}

// A text with every byte it holds, NULs included.
inline std::string Whole(const SString& text)
{
    return std::string(text.GetText(), (size_t)text.GetLength());
}

// Every field a description holds for a record, texts with their full length.
inline std::string RecordFields(const SDialogEditor::_SCtrl* record)
{
    if (!record)
        return "(none)\n";
    char numbers[200];
    snprintf(numbers, sizeof(numbers), "type=%d id=%d font=%d,%u pos=%d,%d,%d,%d style=%08X ex=%08X back=%08X "
             "text=%08X transparent=%d locked=%d dialog=%d",
             record->GetType(), (int)record->GetID(), (int)record->GetFontSize(), (unsigned)record->GetFontStyle(),
             (int)record->GetX(), (int)record->GetY(), (int)record->GetWidth(), (int)record->GetHeight(),
             (unsigned)record->GetStyle(), (unsigned)record->GetExStyle(), (unsigned)record->GetBackColor(),
             (unsigned)record->GetTextColor(), record->GetTransparent() ? 1 : 0, record->IsLocked() ? 1 : 0,
             record->IsDialog() ? 1 : 0);
    return std::string(numbers) + " name=[" + Whole(record->GetName()) + "] caption=[" +
           Whole(record->GetCaption()) + "] face=[" + Whole(record->GetFontFace()) + "] extra=[" +
           Whole(record->GetExtraProperties()) + "]\n";
}

inline std::string ModelFields(const SDialogEditor& editor)
{
    std::string fields = RecordFields(editor.GetDialog());
    for (int i = 0; i < editor.GetControlCount(); i++)
        fields += RecordFields(editor.GetControl(i));
    return fields;
}

// A description saved and loaded into a second model gives the same records, and
// that model saves the same text again. Empty when so, else what differs.
inline std::string RoundTripFault(SDialogEditor& editor)
{
    bool ok = false;
    std::string saved = SaveText(editor, &ok);
    if (!ok)
        return "not saved";
    SDialogEditor again;
    again.Init(true);
    if (!LoadText(again, saved))
        return "the saved text does not load:\n" + saved;
    std::string before = ModelFields(editor);
    std::string after = ModelFields(again);
    if (before != after)
        return "records differ:\n" + before + "after:\n" + after;
    if (SaveText(again) != saved)
        return "saved twice differently:\n" + saved;
    return std::string();
}

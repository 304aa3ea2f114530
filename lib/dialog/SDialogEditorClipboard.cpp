// Controls between designer windows through the clipboard: the binary record
// form and cut, copy and paste.
#include "SDialogEditor.h"

#include <string>

#include "SClipboard.h"
#include "SFileMem.h"

namespace
{

// The block starts with this text and its NUL.
const char kClipboardMagic[] = "TAVRIN DIALOG 1.0.0.0";

// Field writers: least significant byte first, whatever the machine.
int PutU8(SFile* stream, uint8_t value)
{
    return stream->Write(&value, 1);
}

int PutU16(SFile* stream, uint16_t value)
{
    uint8_t bytes[2] = {(uint8_t)value, (uint8_t)(value >> 8)};
    return stream->Write(bytes, 2);
}

int PutU32(SFile* stream, uint32_t value)
{
    uint8_t bytes[4] = {(uint8_t)value, (uint8_t)(value >> 8), (uint8_t)(value >> 16), (uint8_t)(value >> 24)};
    return stream->Write(bytes, 4);
}

int PutText(SFile* stream, const SString& text)
{
    return stream->Write((const char*)text, text.GetLength() + 1);
}

// Reads fields from a stream and remembers the first one that was not all there.
class FieldReader
{
public:
    explicit FieldReader(SFile* stream) : m_stream(stream) {}

    bool IsGood() const { return m_good; }
    int GetConsumed() const { return m_consumed; }

    uint32_t Number(int bytes)
    {
        uint8_t data[4] = {0, 0, 0, 0};
        if (!m_good || m_stream->ReadBounded(data, bytes) != bytes)
        {
            m_good = false;
            return 0;
        }
        m_consumed += bytes;
        return data[0] | (data[1] << 8) | (data[2] << 16) | ((uint32_t)data[3] << 24);
    }
    int16_t Short() { return (int16_t)(uint16_t)Number(2); }
    uint32_t Long() { return Number(4); }
    // A flag byte: anything but 0 or 1 is not this format.
    bool Flag()
    {
        uint32_t value = Number(1);
        if (value > 1)
            m_good = false;
        return value == 1;
    }
    // A text up to its NUL, which must lie inside the stream.
    SString Text()
    {
        std::string text;
        while (m_good)
        {
            int value = m_stream->ReadByte();
            if (value < 0)
            {
                m_good = false;
                break;
            }
            m_consumed++;
            if (value == 0)
                break;
            text += (char)value;
        }
        return SString(text.data(), (int)text.size());
    }

private:
    SFile* m_stream;
    bool m_good = true;
    int m_consumed = 0;
};

void DeleteRecords(SArray<SDialogEditor::_SCtrl*>* records)
{
    for (int i = 0; i < records->GetCount(); i++)
        delete records->GetAt(i);
    records->RemoveAll();
}

} // namespace

// --- the record form ---

int SDialogEditor::_SCtrl::WriteBinary(SFile* stream) const
{
    if (!stream)
        return 0;
    int written = PutU16(stream, (uint16_t)m_id);
    written += PutU16(stream, (uint16_t)m_type);
    written += PutText(stream, m_name);
    written += PutText(stream, m_caption);
    written += PutText(stream, m_fontFace);
    written += PutU16(stream, (uint16_t)m_fontSize);
    written += PutU32(stream, m_fontStyle);
    written += PutU16(stream, (uint16_t)m_x);
    written += PutU16(stream, (uint16_t)m_y);
    written += PutU16(stream, (uint16_t)m_width);
    written += PutU16(stream, (uint16_t)m_height);
    written += PutU8(stream, m_locked ? 1 : 0);
    written += PutU8(stream, m_isDialog ? 1 : 0);
    written += PutU32(stream, m_style);
    written += PutU32(stream, m_exStyle);
    written += PutU32(stream, m_backColor);
    written += PutU32(stream, m_textColor);
    written += PutU8(stream, m_transparent ? 1 : 0);
    written += PutText(stream, m_extra);
    return written;
}

int SDialogEditor::_SCtrl::ReadBinary(SFile* stream)
{
    if (!stream)
        return 0;
    int start = stream->Tell();
    FieldReader reader(stream);
    int16_t id = reader.Short();
    int16_t type = reader.Short();
    SString name = reader.Text();
    SString caption = reader.Text();
    SString fontFace = reader.Text();
    int16_t fontSize = reader.Short();
    uint32_t fontStyle = reader.Long();
    int16_t x = reader.Short();
    int16_t y = reader.Short();
    int16_t width = reader.Short();
    int16_t height = reader.Short();
    bool locked = reader.Flag();
    bool isDialog = reader.Flag();
    uint32_t style = reader.Long();
    uint32_t exStyle = reader.Long();
    uint32_t backColor = reader.Long();
    uint32_t textColor = reader.Long();
    bool transparent = reader.Flag();
    SString extra = reader.Text();
    if (!reader.IsGood())
    {
        stream->Seek(start);
        return 0;
    }
    m_id = id;
    SetType(type);
    m_name = name;
    m_caption = caption;
    m_fontFace = fontFace;
    m_fontSize = fontSize;
    m_fontStyle = fontStyle;
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    SetLocked(locked);
    SetDialogFlag(isDialog);
    m_style = style;
    m_exStyle = exStyle;
    m_backColor = backColor;
    m_textColor = textColor;
    SetTransparent(transparent);
    m_extra = extra;
    return reader.GetConsumed();
}

// --- cut, copy and paste ---

bool SDialogEditor::CopyToClipboard()
{
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog)
        return false;
    SFileMem stream;
    if (!stream.Allocate(0))
        return false;
    stream.Write(kClipboardMagic, (int)sizeof(kClipboardMagic));
    for (int i = 0; i < m_selection.GetCount(); i++)
        m_selection.GetAt(i)->WriteBinary(&stream);
    stream.Rewind();
    return SClipboard::SetData(&stream);
}

bool SDialogEditor::CanPaste() const
{
    if (!IsClipboardFormatAvailable(CLIPBOARD_FORMAT_BINARY))
        return false;
    SFileMem stream;
    return stream.Allocate(0) && SClipboard::GetData(&stream) > 0;
}

bool SDialogEditor::Cut()
{
    if (!CopyToClipboard())
        return false;
    PushUndo();
    SArray<_SCtrl*> selected;
    for (int i = 0; i < m_selection.GetCount(); i++)
        selected.Add(m_selection.GetAt(i));
    int removed = 0;
    for (int i = selected.GetCount() - 1; i >= 0; i--)
        if (RemoveControl(selected.GetAt(i), true))
            removed++;
    // The owner kept every control: the copy stands, the edit does not.
    if (removed == 0)
        PopUndo();
    return true;
}

bool SDialogEditor::PasteFromClipboard()
{
    SFileMem stream;
    if (!stream.Allocate(0) || SClipboard::GetData(&stream) <= 0)
        return false;
    return PasteBlock(&stream);
}

bool SDialogEditor::PasteBlock(SFile* block)
{
    if (!block || !m_dialog)
        return false;
    block->Rewind();
    FieldReader reader(block);
    if (reader.Text() != kClipboardMagic || !reader.IsGood())
        return false;
    // Every record is read and checked before the model is touched, so that a
    // damaged block pastes nothing at all.
    SArray<_SCtrl*> records;
    while (block->GetRemaining() > 0)
    {
        _SCtrl* record = new _SCtrl();
        records.Add(record);
        if (record->ReadBinary(block) == 0 || record->IsDialog() || record->GetType() == TYPE_DIALOG ||
            !GetControlTypeInfo(record))
        {
            DeleteRecords(&records);
            return false;
        }
        // Any program can put a block here: its texts become what a loaded record would
        // hold, so that the next save writes a description that loads.
        record->FitTextForm();
    }
    if (records.GetCount() == 0)
        return false;

    PushUndo();
    SArray<_SCtrl*> pasted;
    bool refused = false;
    for (int i = 0; i < records.GetCount() && !refused; i++)
    {
        _SCtrl* added = GetFreeID() < 0 ? nullptr : AddControl(false, records.GetAt(i), true, false);
        if (added)
            pasted.Add(added);
        else
            refused = true;
    }
    DeleteRecords(&records);
    if (refused)
    {
        for (int i = 0; i < pasted.GetCount(); i++)
            RemoveControl(pasted.GetAt(i), false);
        PopUndo();
        return false;
    }
    _SCtrl* previous = GetPrimary();
    m_selection.RemoveAll();
    for (int i = 0; i < pasted.GetCount(); i++)
        m_selection.Add(pasted.GetAt(i));
    OnSelectionChanged(previous, GetPrimary());
    return true;
}

void SDialogEditor::OnCopy()
{
    CopyToClipboard();
}

void SDialogEditor::OnCut()
{
    if (!Cut())
        return;
    RedrawDesigner();
    NotifyChanged();
}

void SDialogEditor::OnPaste()
{
    if (!PasteFromClipboard())
        return;
    NotifyChanged();
    RedrawDesigner();
}

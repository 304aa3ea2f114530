#include "SIni.h"
#include "SFilePath.h"

#include <stdlib.h>
#include <string.h>

namespace
{
bool IsSectionLine(const SString& line)
{
    int length = line.GetLength();
    return length >= 2 && line.GetAt(0) == '[' && line.GetAt(length - 1) == ']';
}

const char* Text(const char* text)
{
    return text != nullptr ? text : "";
}

// A line break inside a name or value, or a '=' inside a key, would write
// lines that no later lookup finds again, or foreign sections and keys.
bool FitsOnKeyLine(const char* section, const char* key, const char* value)
{
    return strpbrk(Text(section), "\r\n") == nullptr && strpbrk(Text(key), "\r\n=") == nullptr &&
           strpbrk(Text(value), "\r\n") == nullptr;
}
}

SIni::SIni() : path("")
{
}

SIni::~SIni() = default;

bool SIni::Open(const char* filePath, bool create)
{
    if (filePath == nullptr || filePath[0] == 0)
        return false;
    if (!disk.IsFile(filePath))
    {
        if (!create)
            return false;
        SFilePath file;
        if (!file.Open(filePath, true, true, false, false))
            return false;
        file.Close();
    }
    mode = ModeDisk;
    path = filePath;
    memory.Close();
    return true;
}

bool SIni::OpenMemory(SFile* source)
{
    if (source == nullptr)
        return false;
    mode = ModeMemory;
    path = "";
    memory.Allocate(0);
    memory.CopyFrom(source);
    return true;
}

void SIni::Close()
{
    mode = ModeNone;
    path = "";
    memory.Close();
}

SFileMem* SIni::LoadText(SFileMem* loaded)
{
    if (mode == ModeMemory)
        return &memory;
    if (mode != ModeDisk || !loaded->LoadFromFile(path))
        return nullptr;
    return loaded;
}

int SIni::FindSection(SFile* stream, const char* section)
{
    if (stream == nullptr)
        return -1;
    stream->Rewind();
    while (!stream->IsEof())
    {
        int start = stream->Tell();
        SString line = stream->ReadLine(false, -1, nullptr);
        if (IsSectionLine(line) &&
            line.Mid(1, line.GetLength() - 2).CompareNoCase(Text(section)) == 0)
            return start;
    }
    return -1;
}

int SIni::FindKey(SFile* stream, const char* section, const char* key)
{
    if (FindSection(stream, section) < 0)
        return -1;
    while (!stream->IsEof())
    {
        int start = stream->Tell();
        SString line = stream->ReadLine(true, -1, nullptr);
        if (IsSectionLine(line))
            return -1;
        int equal = line.FindChar('=', 0, -1);
        if (line.GetLength() >= 2 && equal >= 0 && line.Left(equal).CompareNoCase(Text(key)) == 0)
            return start;
    }
    return -1;
}

SString SIni::GetValue(const char* section, const char* key)
{
    SFileMem loaded;
    SFileMem* text = LoadText(&loaded);
    if (text == nullptr)
        return SString("");
    int start = FindKey(text, section, key);
    if (start < 0)
        return SString("");
    text->Seek(start);
    SString line = text->ReadLine(true, -1, nullptr);
    return line.AfterChar('=');
}

bool SIni::ReadBool(const char* section, const char* key)
{
    return GetValue(section, key).IsEqual("1");
}

int SIni::ReadInt(const char* section, const char* key)
{
    SString value = GetValue(section, key);
    return atoi(Text(value.GetBuffer()));
}

bool SIni::SetValue(const char* section, const char* key, const char* value)
{
    if (!FitsOnKeyLine(section, key, value))
        return false;
    SFileMem loaded;
    SFileMem* text = LoadText(&loaded);
    if (text == nullptr)
        return false;
    SString keyLine(Text(key));
    keyLine += "=";
    keyLine += Text(value);

    int sectionStart = FindSection(text, section);
    int keyStart = sectionStart >= 0 ? FindKey(text, section, key) : -1;
    if (sectionStart < 0)
    {
        text->SeekEnd();
        int size = text->GetSize();
        if (size > 0)
        {
            text->Seek(size - 1);
            int last = text->ReadByte();
            if (last != '\n')
                text->WriteLine("");
            text->WriteLine("");
        }
        SString sectionLine("[");
        sectionLine += Text(section);
        sectionLine += "]";
        text->WriteLine(sectionLine);
        text->WriteLine(keyLine);
    }
    else if (keyStart < 0)
    {
        text->Seek(sectionStart);
        bool endOfLine = false;
        text->ReadLine(true, -1, &endOfLine);
        // A section line that ends the text without a line break is ended first,
        // so the key lands on a line of its own.
        if (!endOfLine)
            text->WriteLine("");
        text->InsertGap(keyLine.GetLength() + 2, false);
        text->WriteLine(keyLine);
    }
    else
    {
        text->Seek(keyStart);
        int oldLength = text->ReadLine(true, -1, nullptr).GetLength();
        text->Seek(keyStart);
        int difference = keyLine.GetLength() - oldLength;
        if (difference > 0)
            text->InsertGap(difference, false);
        else if (difference < 0)
            text->DeleteAt(-difference);
        text->WriteText(keyLine, keyLine.GetLength());
    }
    if (mode == ModeMemory)
        return true;
    return text->SaveToFile(path);
}

#include "STreeText.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "SFile.h"
#include "SStringParser.h"

namespace
{

const char kTreeMagic[] = "TAVRIN TREE 1.0.0.0";

// The decimal value of a tail field, def when the field is missing or empty.
int FieldValue(const SStringArray& fields, int index, int def)
{
    if (index >= fields.GetCount() || fields.GetAt(index).IsEmpty())
        return def;
    return atoi(fields.GetAt(index));
}

}

const STreeText::_SNode* STreeText::GetNode(int index) const
{
    return index >= 0 && index < GetCount() ? &m_nodes[(size_t)index] : nullptr;
}

int STreeText::Add(const char* label, int parent, int data, int image, int selectedImage)
{
    if (parent < -1 || parent >= GetCount())
        return -1;
    _SNode node;
    node.label = label ? label : "";
    node.parent = parent;
    node.depth = parent < 0 ? 0 : m_nodes[(size_t)parent].depth + 1;
    node.data = data;
    node.image = image;
    node.selectedImage = selectedImage;
    m_nodes.push_back(std::move(node));
    return GetCount() - 1;
}

bool STreeText::Read(SFile* stream, bool withData)
{
    m_nodes.clear();
    if (!stream || !stream->IsOpen())
        return false;
    if (stream->ReadLine(true) != kTreeMagic)
        return false;
    // The parent and depth stacks; their first entry is the root level.
    std::vector<int> parents(1, -1), depths(1, 0);
    int last = -1;
    SStringParser parser;
    SStringArray fields;
    while (!stream->IsEof())
    {
        SString line = stream->ReadLine(true);
        if (line.IsEmpty())
            continue;
        if (line == ".")
            break;
        int tabs = 0;
        while (line[tabs] == '\t')
            tabs++;
        int depth = tabs < line.GetLength() ? tabs : 0;
        SString label = line.Mid(tabs);
        int data = 0, image = -1, selectedImage = -1;
        int plus = withData ? label.ReverseFind('+') : -1;
        if (plus >= 0)
        {
            fields.RemoveAll();
            parser.ParseText(label.Mid(plus + 1), ",", 8, '"', &fields);
            data = FieldValue(fields, 0, 0);
            image = FieldValue(fields, 1, -1);
            selectedImage = FieldValue(fields, 2, -1);
            label = label.Left(plus);
        }
        int top = depths.back();
        if (depth > top)
        {
            // A jump of several levels still goes one level down, under the last item.
            parents.push_back(last);
            depths.push_back(depth);
            if ((int)parents.size() - 1 > kMaxDepth)
            {
                m_nodes.clear();
                return false;
            }
        }
        else if (depth < top)
        {
            while (depths.size() > 1 && depths.back() > depth)
            {
                depths.pop_back();
                parents.pop_back();
            }
        }
        last = Add(label, parents.back(), data, image, selectedImage);
    }
    return true;
}

bool STreeText::CanWrite(const SString& label, bool withData)
{
    if (label.FindChar('\r') >= 0 || label.FindChar('\n') >= 0 || label[0] == '\t')
        return false;
    return withData || (!label.IsEmpty() && label != ".");
}

bool STreeText::Write(SFile* stream, bool withData) const
{
    if (!stream)
        return false;
    for (const _SNode& node : m_nodes)
        if (!CanWrite(node.label, withData))
            return false;
    // One write of the whole text: no half-written text on failure of a label.
    std::string out(kTreeMagic);
    out += "\r\n";
    char tail[48];
    for (const _SNode& node : m_nodes)
    {
        out.append((size_t)node.depth, '\t');
        out.append(node.label.GetText() ? node.label.GetText() : "", (size_t)node.label.GetLength());
        if (withData)
        {
            snprintf(tail, sizeof(tail), "+%d,%d,%d", node.data, node.image, node.selectedImage);
            out += tail;
        }
        out += "\r\n";
    }
    out += ".\r\n";
    if (out.size() > 0x7FFFFFF0u)
        return false;
    return stream->Write(out.data(), (int)out.size()) == (int)out.size();
}

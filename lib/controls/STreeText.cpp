#include "STreeText.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <utility>

#include "SFile.h"

namespace
{

const char kTreeMagic[] = "TAVRIN TREE 1.0.0.0";

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

// Reads the data tail "data,image,selectedImage": fields split at ',' and trimmed of
// blanks, each a decimal value; a missing or empty field keeps its default.
void ReadTail(const char* tail, int* values, int count)
{
    for (int field = 0; field < count && tail; field++)
    {
        const char* end = strchr(tail, ',');
        const char* start = tail;
        const char* stop = end ? end : tail + strlen(tail);
        while (start < stop && IsBlank(*start))
            start++;
        while (stop > start && IsBlank(stop[-1]))
            stop--;
        if (stop > start)
            values[field] = atoi(std::string(start, (size_t)(stop - start)).c_str());
        tail = end ? end + 1 : nullptr;
    }
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
    return AddNode(SString(label ? label : ""), parent, data, image, selectedImage);
}

int STreeText::AddNode(SString&& label, int parent, int data, int image, int selectedImage)
{
    _SNode node;
    node.label = std::move(label);
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
        int data = 0, image = -1, selectedImage = -1;
        const char* text = line.GetText() + tabs;
        int length = line.GetLength() - tabs;
        const char* plus = withData ? strrchr(text, '+') : nullptr;
        if (plus)
        {
            int values[3] = {0, -1, -1};
            ReadTail(plus + 1, values, 3);
            data = values[0];
            image = values[1];
            selectedImage = values[2];
            length = (int)(plus - text);
        }
        // The line's own buffer becomes the label.
        if (tabs)
            line.Delete(0, tabs);
        line.Resize(length);
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
        last = AddNode(std::move(line), parents.back(), data, image, selectedImage);
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

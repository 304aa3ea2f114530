#pragma once
// The tree text, a resource format: the line "TAVRIN TREE 1.0.0.0", then one item
// per line (CR LF), its depth given by leading tabs and, when read with data, an
// optional "+data,image,selectedImage" tail; a line holding only "." ends the text.
// The text is held here as a flat list of nodes in pre-order, without any window,
// so that the tree control only inserts or collects items.
#include <vector>

#include "SString.h"

class SFile;

class STreeText
{
public:
    // One item: its label, its parent (an earlier node, -1 for the root level) and values.
    struct _SNode
    {
        SString label;
        int parent;
        int depth;
        int data;
        int image;
        int selectedImage;
    };

    STreeText() = default;
    virtual ~STreeText() = default;

    // Replaces the nodes with the text read from the stream's position. Fails (false,
    // nodes emptied) for a missing stream, a wrong first line or a tree deeper than kMaxDepth.
    bool Read(SFile* stream, bool withData);
    // Writes the magic line, the nodes and the closing "." line; with data every line gets
    // its "+data,image,selectedImage" tail. False, with nothing written, when a label cannot
    // be written so that it reads back the same (see CanWrite) or the stream takes less.
    bool Write(SFile* stream, bool withData) const;
    // Whether a label at the depth reads back unchanged: no CR or LF, no leading tab and,
    // without data, neither empty nor a lone ".".
    static bool CanWrite(const SString& label, bool withData);

    // Empties the list.
    void Clear() { m_nodes.clear(); }
    // Appends a node under parent (-1 or an earlier node); returns its index, -1 for a bad parent.
    int Add(const char* label, int parent, int data = 0, int image = -1, int selectedImage = -1);
    int GetCount() const { return (int)m_nodes.size(); }
    // Node index, null outside the list.
    const _SNode* GetNode(int index) const;

    // Deepest item (root items have depth 0) the reader accepts.
    static const int kMaxDepth = 255;

private:
    // Appends a node whose parent is known to be valid, taking over the label.
    int AddNode(SString&& label, int parent, int data, int image, int selectedImage);

    std::vector<_SNode> m_nodes;
};

#pragma once
// The tree control over "SysTreeView32": item operations the tree view lacks
// (path, depth, pre-order walk, copy, move and delete with notifications),
// check boxes that keep parents and children consistent, label editing on F2,
// drag and drop of items, a folder mode filled lazily from the file system, and
// the tree text ("TAVRIN TREE 1.0.0.0") read and written through STreeText.
#include <windows.h>
#include <commctrl.h>

#include "SArray.h"
#include "SDisk.h"
#include "SImageList.h"
#include "SStringArray.h"
#include "SWnd.h"

class SFile;
class STreeCtrl;

// Sent with WM_APP+3332 (copy) and WM_APP+3333 (copy as part of a move).
struct STreeCopyRecord
{
    HTREEITEM source;
    HTREEITEM newItem;
    STreeCtrl* targetTree; // null when the operation was asked without one
};

// Sent with WM_APP+3334: the item is gone, its handle no longer valid.
struct STreeDeleteRecord
{
    HTREEITEM item;
    LPARAM data;
};

// Sent with WM_APP+3330; the parent may change the options before answering 0.
struct STreeDropRecord
{
    HTREEITEM item;        // the dragged item
    HTREEITEM target;      // null for the empty area
    STreeCtrl* targetTree; // null for this tree
    // Low byte 1 move, 0 copy; third byte non-zero: as a child of the target; above
    // 0xFFFFFF: last child (or after the target), else first (or before it).
    unsigned options;
};

// What the drag loop reads each time round: the left button, Escape and the cursor.
struct STreeDragState
{
    bool buttonDown;
    bool escapeDown;
    POINT cursor; // screen coordinates
};

// The drag loop's view of the mouse and keyboard. The default polls the real
// state; tests install a scripted one so that a drag never waits for a hand.
class STreeDragInput
{
public:
    virtual ~STreeDragInput();
    // Waits a moment, then reads the state; false ends the loop as a released button.
    virtual bool Poll(STreeDragState* state);
    // The window under a screen point.
    virtual HWND WindowFromPoint(POINT point);
    // Shows library cursor number (14 over a valid place, 6 elsewhere).
    virtual void ShowCursor(int number);
};

class STreeCtrl : public SWnd
{
public:
    STreeCtrl();
    ~STreeCtrl() override;

    // TVM_SETBKCOLOR / TVM_GETBKCOLOR; 0xFF000000 is the system colour.
    void SetBackColor(unsigned color) override;
    unsigned GetBackColor() override;
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Slot 30: an item was expanded or collapsed; in folder mode fills a folder on first expansion.
    virtual void OnItemExpanded(HTREEITEM item, bool expanded);
    // Slot 31: a check changed; propagates it to the subtree and the ancestors when asked.
    virtual void OnCheckChanged(HTREEITEM item, bool checked);

    // "SysTreeView32" with TVS_DISABLEDRAGDROP always (the control drags items itself).
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0, LPARAM param = 0);

    // --- thin wrappers ---
    HTREEITEM GetSelectedItem();
    bool SelectItem(HTREEITEM item);
    HTREEITEM GetRootItem();
    HTREEITEM GetParentItem(HTREEITEM item);
    HTREEITEM GetChildItem(HTREEITEM item);
    HTREEITEM GetNextSibling(HTREEITEM item);
    HTREEITEM GetPrevSibling(HTREEITEM item);
    bool GetItemRect(HTREEITEM item, RECT* rect, bool textOnly);
    // The item under a client point and the hit flags (TVHT_*).
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr);
    LPARAM GetItemData(HTREEITEM item);
    // The item's text (at most 1023 characters); "" when the tree refuses.
    SString GetItemText(HTREEITEM item);
    bool SetItemText(HTREEITEM item, const char* text);
    bool GetItemImages(HTREEITEM item, int* image, int* selectedImage);
    bool Expand(HTREEITEM item, bool expand = true);
    // Starts editing the item's label; the edit window, null for a null item.
    HWND EditLabel(HTREEITEM item);
    bool DeleteAllItems();
    bool IsItemChecked(HTREEITEM item);
    bool SetItemCheck(HTREEITEM item, bool checked);
    int GetCount();

    // --- item operations ---
    // Inserts an item; images of -1 are left out. The new item or null.
    HTREEITEM InsertItem(const char* text, int image = -1, int selectedImage = -1, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM insertAfter = TVI_LAST, LPARAM data = 0);
    // The first item on the item's level.
    HTREEITEM GetFirstSibling(HTREEITEM item);
    // Parent steps up to the root level (0 for a root item).
    int GetDepth(HTREEITEM item);
    // Whether ancestor is the item's parent or, with deep, any of its ancestors.
    bool IsChildOf(HTREEITEM item, HTREEITEM ancestor, bool deep);
    // Pre-order walk: the next item and the depth adjusted; null at the end.
    HTREEITEM GetNextItemInOrder(HTREEITEM item, int* depth);
    // Appends every descendant of the item in pre-order; returns their count.
    int CollectSubtree(SArray<HTREEITEM>* out, HTREEITEM item);
    // Direct children (all descendants with recursive); a null item counts the root level.
    int CountChildren(HTREEITEM item, bool recursive);
    // Deletes the item and its subtree; with notify each deletion is reported (deepest first).
    bool DeleteItem(HTREEITEM item, bool notify = false);
    // Deletes the children one by one with notification; false when one cannot be deleted.
    bool DeleteChildren(HTREEITEM item);
    // Copies one item (text, images, data) into targetTree (null = this tree) and reports it.
    HTREEITEM CopyItem(HTREEITEM item, HTREEITEM parent, HTREEITEM insertAfter, STreeCtrl* targetTree, bool move);
    // Copies the item and its whole subtree; null (and no partial copy left) when a copy fails.
    HTREEITEM CopySubtree(HTREEITEM item, HTREEITEM parent, HTREEITEM insertAfter, STreeCtrl* targetTree,
                          bool move);
    // Copies the subtree beside or under a target (null = root level); null when asked to
    // copy an item under itself or one of its descendants.
    HTREEITEM CopyItemTo(HTREEITEM item, HTREEITEM target, bool asChild, bool last, STreeCtrl* targetTree,
                         bool move);
    // CopyItemTo, then the source is deleted once the copy is complete. Refused (null) for
    // a target that is the item itself or lies inside its subtree in this tree.
    HTREEITEM MoveItemTo(HTREEITEM item, HTREEITEM target, bool asChild, bool last, STreeCtrl* targetTree);
    // The item texts from the root level down, joined by '\' (in folder mode a file path).
    SString GetItemPath(HTREEITEM item);

    // --- tree text ---
    // Adds the items of a tree text at the end of the root level. Damaged text (wrong first
    // line, too deep) or an item the tree refuses fails and leaves the tree as it was.
    bool LoadTree(SFile* stream, bool withData);
    // Writes every item as a tree text; false, with nothing written, when a label cannot be written.
    bool SaveTree(SFile* stream, bool withData);

    // --- checks ---
    void SetCheckSubtree(HTREEITEM item, bool checked);
    // Unchecks the parent when no other sibling is checked, and so on up the tree.
    void UncheckEmptyParents(HTREEITEM item);
    void SetChecksPropagate(bool on) { m_checksPropagate = on ? 1 : 0; }
    bool GetChecksPropagate() const { return m_checksPropagate != 0; }

    // --- drag and drop ---
    void EnableDragDrop(bool on) { m_dragDrop = on ? 1 : 0; }
    bool IsDragDropEnabled() const { return m_dragDrop != 0; }
    // Lets this tree's items be dropped on another tree's window.
    void AddDropTarget(HWND tree);
    void RemoveDropTarget(HWND tree);
    // The modal drag loop started by a left button press on an item label.
    void DragItem(HTREEITEM item);
    // Installs the drag loop's input (null: the real mouse and keyboard); returns the previous one.
    static STreeDragInput* SetDragInput(STreeDragInput* input);

    // --- folder mode ---
    // Switches folder mode on or off; the root folder gets its trailing '\'.
    void SetFolderMode(bool on, const char* rootFolder = "", const char* pattern = "*.*", bool showFiles = true);
    bool IsFolderMode() const { return m_folderMode != 0; }
    const SString& GetRootFolder() const { return m_rootFolder; }
    // True when the folder holds a sub-folder or, with files shown, a matching file.
    bool HasChildren(const char* folder);
    // Inserts a file or folder at the end of parent with its shell icon; null on failure.
    HTREEITEM InsertFileItem(HTREEITEM parent, const char* path);
    // Inserts the folder's sub-folders (with a "*" placeholder when they hold something) and files.
    void FillFolder(HTREEITEM parent, const char* folder);

private:
    // Reads an item's text, images, data and state into item (text buffer of 1024).
    bool ReadItem(HTREEITEM item, TVITEMA* record, char* text);
    STreeCtrl* TargetOrSelf(STreeCtrl* targetTree) { return targetTree ? targetTree : this; }
    bool IsDropTarget(HWND window) const;
    LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);

    SDisk m_disk;              // folder listing in folder mode
    BYTE m_checksPropagate;    // checks reach the subtree and the ancestors
    BYTE m_dragDrop;           // items can be dragged
    BYTE m_folderMode;         // the tree shows the file system under the root folder
    BYTE m_showFiles;          // folder mode lists files too
    SString m_pattern;         // file pattern in folder mode
    SString m_rootFolder;      // root folder in folder mode, with its trailing '\'
    SImageList m_icons;        // shell icons of folder mode
    SStringArray m_iconKeys;   // sorted extensions (with the dot, "" for folders); extra 1 = image
    SArray<HWND> m_dropTargets; // other trees that accept this tree's items
};

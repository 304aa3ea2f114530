#pragma once
// The description editor: the tree of the library's group folders (folders that
// hold folders) at the left, the selected folder's description text in a code
// editor at the right, and a toolbar that inserts tags and generates the HTML
// pages beside the folders.
#include <windows.h>

#include "PDescriptionPage.h"
#include "SCodeEditCtrl.h"
#include "SControlBarCtrl.h"
#include "SDisk.h"
#include "SImageList.h"
#include "SSelector.h"
#include "SStatusBarCtrl.h"
#include "SStringArray.h"
#include "SToolBarCtrl.h"
#include "STreeCtrl.h"
#include "SWnd.h"

class PWndApp;

class PWndDescription : public SWnd
{
public:
    // Toolbar commands (button index + 1).
    enum
    {
        CMD_GENERATE = 1, CMD_GENERATE_ALL = 2, CMD_CHAPTER = 3, CMD_GENRE = 4, CMD_NAME = 5, CMD_TITLE = 6,
        CMD_QUOTE = 7, CMD_IMAGE = 8, CMD_BOLD = 9
    };

    PWndDescription();
    ~PWndDescription() override;

    // Stores the owner; returns the window.
    PWndDescription* SetApp(PWndApp* owner);
    // Creates the top-level window owned by the main window.
    bool Create(PWndApp* owner);
    // Loads the folder tree again.
    void Reload();
    // Saves the open description (an empty one deletes its file).
    void SaveText();
    // Writes the page of a tree item; false when it has no text or cannot be written.
    bool GeneratePage(HTREEITEM item);
    // Writes the chapter icon and every page.
    bool GenerateAll();
    // Runs a toolbar command.
    void OnToolbarCommand(int command);

    STreeCtrl* GetTree() { return &m_tree; }
    SCodeEditCtrl* GetEditor() { return &m_editor; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    SString RootPath() const;
    void FillTree(HTREEITEM parent, const SString& folder);
    void OpenItem(HTREEITEM item);
    void EnableControls(bool enable);
    void UpdateTagButtons();
    void InsertTag(const char* tag);
    void InsertChapter();
    void SetStatus(const char* text);

    SImageList m_images;
    SControlBarCtrl m_controlBar;
    SToolBarCtrl m_toolBar;
    SStatusBarCtrl m_statusBar;
    STreeCtrl m_tree;
    SCodeEditCtrl m_editor;
    PWndApp* m_owner;
    SSelector m_selector;
    SDisk m_disk;
    int m_count;
    SStringArray m_names;
    SStringArray m_paths;
};

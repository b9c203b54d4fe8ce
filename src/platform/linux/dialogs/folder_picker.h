#pragma once

#include <QDialog>

#include <optional>
#include <string>

class FolderTreeModel;
class QLabel;
class QPushButton;
class QTreeView;
class WinePrefix;

// PickFolder on Linux: the shell's folder browser as a Windows program in the prefix sees it: a
// modal dialog with the title text as the prompt above a tree of the
// prefix's drives and folders, and OK and Cancel. It opens with the starting
// folder selected (its nearest existing ancestor when it does not exist) and
// answers the Windows path of the folder chosen, as navigated. It reads and
// writes no settings.
class FolderPicker : public QDialog {
public:
    FolderPicker(QWidget* owner, const std::string& title, const std::string& startFolder, const WinePrefix& prefix);
    ~FolderPicker() override;

    // The Windows path of the selected folder, or nothing.
    std::optional<std::string> selectedFolder() const;
    // Selects the folder a Windows path names, or its nearest existing
    // ancestor, expanded down to it and scrolled into view; nothing is
    // selected when the path names no drive.
    void selectNearest(const std::string& windowsPath);

private:
    void updateOk();

    FolderTreeModel* m_model;
    QLabel* m_prompt;
    QTreeView* m_tree;
    QPushButton* m_ok = nullptr;
};

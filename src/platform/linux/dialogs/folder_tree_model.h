#pragma once

#include <QAbstractItemModel>
#include <QIcon>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class WinePrefix;

// The prefix's folders as the shell's folder browser shows them to a Windows
// program: its drives at the top (C:, D:, Z: ...), below each folder its
// subfolders by their stored names in case-insensitive order. Files are never
// shown. A folder's subfolders are read when it is first expanded, so a
// folder of thousands opens at once and untouched ones cost nothing.
class FolderTreeModel : public QAbstractItemModel {
public:
    FolderTreeModel(const WinePrefix& prefix, QIcon driveIcon, QIcon folderIcon, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // The Windows path of a folder as navigated: the drive letter, a colon, a
    // backslash, then the stored names joined by backslashes. No link is
    // resolved.
    std::string windowsPath(const QModelIndex& index) const;

    // The folder a Windows path names, or its nearest ancestor that exists;
    // invalid when the path names no drive of the prefix. Reads the folders
    // on the way.
    QModelIndex nearestFolder(const std::string& windowsPath);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;

    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const Node* node) const;
    void load(Node* node);

    std::unique_ptr<Node> m_root;
    QIcon m_driveIcon;
    QIcon m_folderIcon;
};

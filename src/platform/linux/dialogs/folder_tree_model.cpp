#include "platform/linux/dialogs/folder_tree_model.h"

#include "platform/char_case.h"
#include "platform/linux/linux_directory.h"
#include "platform/linux/wine_prefix.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

struct FolderTreeModel::Node {
    Node* parent = nullptr;
    int row = 0;
    std::string name; // "C:" for a drive, else the stored name
    std::string hostPath; // through the links, as navigated
    bool loaded = false;
    std::vector<std::unique_ptr<Node>> children;
};

namespace {

// The subfolders of a host folder, links to folders included, by stored
// name in case-insensitive order. Names starting with a dot are hidden, as
// Wine marks them.
std::vector<std::string> subfoldersOf(const std::string& hostPath)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(hostPath.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || name.front() == '.')
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder = ::stat((hostPath + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        if (isFolder)
            names.push_back(name);
    }
    ::closedir(dir);
    std::vector<std::pair<std::string, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names)
        keyed.emplace_back(CharCase::upper(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed)
        names.push_back(std::move(name));
    return names;
}

std::vector<std::string> componentsOf(const std::string& path, std::size_t from)
{
    std::vector<std::string> parts;
    std::string current;
    for (std::size_t i = from; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += path[i];
        }
    }
    return parts;
}

} // namespace

FolderTreeModel::FolderTreeModel(const WinePrefix& prefix, QIcon driveIcon, QIcon folderIcon, QObject* parent)
    : QAbstractItemModel(parent)
    , m_root(std::make_unique<Node>())
    , m_driveIcon(std::move(driveIcon))
    , m_folderIcon(std::move(folderIcon))
{
    m_root->loaded = true;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        // A drive whose link is missing or leads nowhere is not shown.
        const auto root = prefix.driveRoot(letter);
        if (!root)
            continue;
        auto drive = std::make_unique<Node>();
        drive->parent = m_root.get();
        drive->row = int(m_root->children.size());
        drive->name = std::string(1, CharCase::toUpper(letter)) + ":";
        drive->hostPath = *root;
        m_root->children.push_back(std::move(drive));
    }
}

FolderTreeModel::~FolderTreeModel() = default;

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : m_root.get();
}

QModelIndex FolderTreeModel::indexOf(const Node* node) const
{
    return node == m_root.get() ? QModelIndex() : createIndex(node->row, 0, const_cast<Node*>(node));
}

std::string FolderTreeModel::windowsPath(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    std::vector<const Node*> chain;
    for (const Node* node = nodeOf(index); node != m_root.get(); node = node->parent)
        chain.push_back(node);
    std::string path = chain.back()->name + "\\";
    for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it)
        path += (it == chain.rbegin() + 1 ? "" : "\\") + (*it)->name;
    return path;
}

QModelIndex FolderTreeModel::nearestFolder(const std::string& windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != ':')
        return {};
    const std::string driveName = std::string(1, CharCase::toUpper(windowsPath[0])) + ":";
    Node* node = nullptr;
    for (const auto& drive : m_root->children)
        if (drive->name == driveName)
            node = drive.get();
    if (!node)
        return {};
    for (const std::string& part : componentsOf(windowsPath, 2)) {
        const auto stored = LinuxDirectory(node->hostPath).find(part, LinuxDirectory::Order::opening);
        if (!stored)
            break;
        load(node);
        const auto child = std::find_if(node->children.begin(), node->children.end(),
                                        [&](const auto& c) { return c->name == *stored; });
        if (child == node->children.end())
            break;
        node = child->get();
    }
    return indexOf(node);
}

void FolderTreeModel::load(Node* node)
{
    if (node->loaded)
        return;
    node->loaded = true;
    const std::vector<std::string> names = subfoldersOf(node->hostPath);
    if (names.empty()) {
        // The expander goes: there is nothing below.
        const QModelIndex index = indexOf(node);
        emit dataChanged(index, index);
        return;
    }
    beginInsertRows(indexOf(node), 0, int(names.size()) - 1);
    node->children.reserve(names.size());
    for (const std::string& name : names) {
        auto child = std::make_unique<Node>();
        child->parent = node;
        child->row = int(node->children.size());
        child->name = name;
        child->hostPath = node->hostPath + "/" + name;
        node->children.push_back(std::move(child));
    }
    endInsertRows();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[std::size_t(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    return int(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node* node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromUtf8(node->name.data(), qsizetype(node->name.size()));
    case Qt::DecorationRole:
        return node->parent == m_root.get() ? m_driveIcon : m_folderIcon;
    default:
        return {};
    }
}

// The header is hidden, yet screen readers announce the column by this name.
QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("Folder");
    return {};
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    return !node->loaded || !node->children.empty();
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    return !nodeOf(parent)->loaded;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent)
{
    load(nodeOf(parent));
}

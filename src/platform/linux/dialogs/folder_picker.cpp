#include "platform/linux/dialogs/folder_picker.h"

#include "platform/folder_picker.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/linux/dialogs/folder_tree_model.h"
#include "platform/linux/wine_prefix.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>

namespace {
// The first size, in dialog units of the dialogs' font: the shell's own.
constexpr int kWidthUnits = 212;
constexpr int kHeightUnits = 218;
constexpr int kFontSize = 8;
} // namespace

FolderPicker::FolderPicker(QWidget* owner, const std::string& title, const std::string& startFolder,
                           const WinePrefix& prefix)
    : QDialog(owner)
    , m_model(new FolderTreeModel(prefix, style()->standardIcon(QStyle::SP_DriveHDIcon),
                                  style()->standardIcon(QStyle::SP_DirIcon), this))
    , m_prompt(new QLabel(this))
    , m_tree(new QTreeView(this))
{
    setWindowTitle(QStringLiteral("Browse for Folder"));
    setFont(dialogFont(kFontSize));
    resize(dialogUnitsToPixels(font(), kWidthUnits, kHeightUnits));

    m_prompt->setTextFormat(Qt::PlainText);
    m_prompt->setWordWrap(true);
    m_prompt->setText(QString::fromUtf8(title.data(), qsizetype(title.size())));
    m_prompt->setAccessibleName(QStringLiteral("Prompt"));
    m_prompt->setAccessibleDescription(m_prompt->text());

    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setAccessibleName(QStringLiteral("Folders"));
    m_prompt->setBuddy(m_tree);

    m_ok = layOutListDialog(this, m_prompt, m_tree);

    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FolderPicker::updateOk);

    selectNearest(startFolder);
    m_tree->setFocus();
}

FolderPicker::~FolderPicker() = default;

void FolderPicker::selectNearest(const std::string& windowsPath)
{
    const QModelIndex folder = m_model->nearestFolder(windowsPath);
    if (folder.isValid()) {
        for (QModelIndex above = folder.parent(); above.isValid(); above = above.parent())
            m_tree->expand(above);
        m_tree->setCurrentIndex(folder);
        m_tree->scrollTo(folder, QAbstractItemView::PositionAtCenter);
    } else {
        m_tree->selectionModel()->clear();
    }
    updateOk();
}

void FolderPicker::updateOk()
{
    m_ok->setEnabled(selectedFolder().has_value());
}

std::optional<std::string> FolderPicker::selectedFolder() const
{
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return std::nullopt;
    return m_model->windowsPath(selected.front());
}

std::optional<std::string> PickFolder(const CWnd* owner, const std::string& title, const std::string& startFolder)
{
    FolderPicker picker(owner ? widgetOf(*owner) : nullptr, title, startFolder, WinePrefix::current());
    if (picker.exec() != QDialog::Accepted)
        return std::nullopt;
    return picker.selectedFolder();
}

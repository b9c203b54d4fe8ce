#include "linux/prefixes/prefix_dialog.h"

#include "linux/prefixes/prefix_choice.h"
#include "platform/linux/dialogs/dialog_window.h"
#include "platform/linux/wine_prefix.h"
#include "platform/utf8.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {
constexpr int kFontSize = 8;
constexpr int kWidthUnits = 320;
constexpr int kHeightUnits = 150;

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
} // namespace

CPrefixDlg::CPrefixDlg(std::vector<PrefixSearch::Prefix> prefixes, QWidget* parent)
    : QDialog(parent)
    , m_prefixes(std::move(prefixes))
    , m_list(new QTreeWidget(this))
{
    setWindowTitle(QStringLiteral("Choose the Wine prefix"));
    setFont(dialogFont(kFontSize));
    resize(dialogUnitsToPixels(font(), kWidthUnits, kHeightUnits));

    auto* prompt = new QLabel(QStringLiteral("Corvane is installed in more than one Wine prefix. "
                                             "Choose the one to install the Vorns into."),
                              this);
    prompt->setWordWrap(true);
    prompt->setAccessibleName(QStringLiteral("Prompt"));
    prompt->setAccessibleDescription(prompt->text());

    m_list->setAccessibleName(QStringLiteral("Wine prefixes"));
    m_list->setHeaderLabels({QStringLiteral("Prefix"), QStringLiteral("Path"), QStringLiteral("Last used")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const PrefixSearch::Prefix& prefix : m_prefixes) {
        const QString lastUsed = prefix.lastUsed
            ? QDateTime::fromSecsSinceEpoch(prefix.lastUsed).toString(QStringLiteral("yyyy-MM-dd hh:mm"))
            : QStringLiteral("never");
        new QTreeWidgetItem(m_list, {fromUtf8(prefix.label()), fromUtf8(CharCase::readable(prefix.path)), lastUsed});
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!m_prefixes.empty())
        m_list->setCurrentItem(m_list->topLevelItem(int(MostRecentlyUsed(m_prefixes))));
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    QPushButton* ok = layOutListDialog(this, prompt, m_list);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this, ok] { ok->setEnabled(!m_list->selectedItems().isEmpty()); });
    m_list->setFocus();
}

std::optional<PrefixSearch::Prefix> CPrefixDlg::chosen() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (result() != QDialog::Accepted || selected.isEmpty())
        return std::nullopt;
    return m_prefixes[std::size_t(m_list->indexOfTopLevelItem(selected.front()))];
}

bool ChooseWinePrefix(const PrefixSearch::Places& places)
{
    // $WINEPREFIX names the one prefix to use, as for every Wine program.
    if (WinePrefix::givenByEnvironment())
        return true;
    const std::vector<PrefixSearch::Prefix> withHost = PrefixesWithHost(PrefixSearch::FindPrefixes(places));
    if (withHost.empty())
        return true; // ~/.wine, the default folder and the chooser
    if (withHost.size() == 1) {
        WinePrefix::use(withHost.front().path);
        return true;
    }
    CPrefixDlg chooser(withHost);
    chooser.exec();
    const auto chosen = chooser.chosen();
    if (!chosen)
        return false;
    WinePrefix::use(chosen->path);
    return true;
}

bool UseWinePrefix(const std::string& given)
{
    if (given.empty())
        return ChooseWinePrefix(PrefixSearch::UserPlaces());
    WinePrefix::use(given);
    return true;
}

// Icons from the program's resources, decoded when first drawn.
#include "platform/linux/dialogs/dialog_window.h"

#include <QApplication>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>

#include <map>

namespace {

constexpr int kIconSizes[] = {48, 128, 256};

// Decodes an icon resource's images the first time one is drawn, so that
// windows which never show their icon never pay for it.
class ResourceIconEngine : public QIconEngine {
public:
    explicit ResourceIconEngine(QString name)
        : m_name(std::move(name))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : kIconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }
    QIconEngine* clone() const override { return new ResourceIconEngine(m_name); }

private:
    const QIcon& loaded()
    {
        if (m_loaded.isNull()) {
            for (int size : kIconSizes)
                m_loaded.addFile(QStringLiteral(":/ICON/%1/%2").arg(m_name).arg(size), QSize(size, size));
        }
        return m_loaded;
    }

    QString m_name;
    QIcon m_loaded;
};

} // namespace

IconHandle LoadIcon(int resourceId)
{
    // Loaded once each and kept, as Windows keeps a shared icon.
    static std::map<int, QIcon> loaded;
    auto it = loaded.find(resourceId);
    if (it == loaded.end())
        it = loaded.emplace(resourceId, QIcon(new ResourceIconEngine(QString::number(resourceId)))).first;
    return &it->second;
}

const QIcon& iconOf(IconHandle icon)
{
    return *static_cast<const QIcon*>(icon);
}

int SystemIconWidth()
{
    return QApplication::style()->pixelMetric(QStyle::PM_LargeIconSize);
}

int SystemIconHeight()
{
    return SystemIconWidth();
}

// The page map's tiles for screen readers: the view is a list whose items are its pages, each named
// as the keyboard's focus frame names it ("Page 12, Fiction, 4 products, 100 % filled").
#include "pagemap/frmPageMapPaint.h"
#include "pagemap/frmPageMapView.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <algorithm>
#include <map>

namespace {

class PageTileAccessible : public QAccessibleInterface
{
public:
    PageTileAccessible(frmPageMapView *view, int page)
        : m_view(view)
        , m_page(page)
    {}

    bool isValid() const override { return m_view && m_view->pageMap() && page(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        const catalog::MapPage *shown = page();
        return t == QAccessible::Name && shown ? pagemap::accessibleName(*shown) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!m_view)
            return {};
        const QRect tile = m_view->pageRect(m_page);
        return QRect(m_view->viewport()->mapToGlobal(tile.topLeft()), tile.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.focused = m_view && m_view->hasFocus() && m_view->focusPage() == m_page;
        state.invisible =
            !m_view || !m_view->viewport()->rect().intersects(m_view->pageRect(m_page));
        return state;
    }

private:
    const catalog::MapPage *page() const
    {
        return m_view && m_view->pageMap() ? m_view->pageMap()->page(m_page) : nullptr;
    }

    QPointer<frmPageMapView> m_view;
    int m_page;
};

class PageMapAccessible : public QAccessibleWidget
{
public:
    explicit PageMapAccessible(frmPageMapView *view)
        : QAccessibleWidget(view, QAccessible::List)
    {}
    ~PageMapAccessible() override
    {
        for (const auto &[page, id] : m_tiles)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(view()->pageNumbers().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const std::vector<int> pages = view()->pageNumbers();
        if (index < 0 || index >= int(pages.size()))
            return nullptr;
        const int page = pages[std::size_t(index)];
        // One interface a page number, kept while the view lives, as screen readers expect.
        auto found = m_tiles.find(page);
        if (found == m_tiles.end())
            found = m_tiles
                        .emplace(page, QAccessible::registerAccessibleInterface(
                                           new PageTileAccessible(view(), page)))
                        .first;
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
        const std::optional<int> page = view()->pageAt(point);
        return page ? childOf(*page) : nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return view()->hasFocus() ? childOf(view()->focusPage()) : nullptr;
    }
    // The interface of a page, or nullptr.
    QAccessibleInterface *childOf(int page) const
    {
        const std::vector<int> pages = view()->pageNumbers();
        const auto at = std::find(pages.begin(), pages.end(), page);
        return at == pages.end() ? nullptr : child(int(at - pages.begin()));
    }

private:
    frmPageMapView *view() const { return static_cast<frmPageMapView *>(widget()); }

    mutable std::map<int, QAccessible::Id> m_tiles;
};

QAccessibleInterface *pageMapAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("frmPageMapView") && object && object->isWidgetType())
        return new PageMapAccessible(static_cast<frmPageMapView *>(object));
    return nullptr;
}

} // namespace

void frmPageMapView::installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&pageMapAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

int frmPageMapView::accessibleIndexOf(int page) const
{
    const std::vector<int> pages = pageNumbers();
    const auto at = std::find(pages.begin(), pages.end(), page);
    return at == pages.end() ? -1 : int(at - pages.begin());
}

#include "catalog/frmPageMap.h"

#include "catalog/frmPageMapPaint.h"
#include "catalog/frmPageMapView.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/PrinterChoice.h"
#include "shell/WindowHost.h"
#include "shell/WindowRegistry.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

using catalog::MoveResult;
using catalog::NodeKey;

namespace {

QString hex(std::uint32_t colour)
{
    return QStringLiteral("#%1").arg(colour, 6, 16, QLatin1Char('0'));
}

QString swatch(std::uint32_t colour, const QString &text)
{
    return QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>"
                          "&nbsp;%2&nbsp;&nbsp; ")
        .arg(hex(colour), text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
}

} // namespace

frmPageMap::frmPageMap(const QString &nodeKey, QWidget *parent)
    : WorkingWindow(windowNameFor(nodeKey), QStringLiteral("Page Map - "), parent)
    , m_mapKey(catalog::mapKeyOf(NodeKey(nodeKey)))
{
    m_map.map = NodeKey(m_mapKey);

    lblLegend = named(new QLabel(this), "lblLegend");
    lblLegend->setTextFormat(Qt::RichText);
    lblLegend->setWordWrap(true);
    // The legend wraps to the window; it never widens it.
    lblLegend->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblLegend->setMinimumWidth(200);
    const auto button = [this](const char *name, const QString &caption) {
        QPushButton *b = newButton(this, name, caption);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    cmdWholeBook = button("cmdWholeBook", QStringLiteral("Whole Book"));
    cmdTwoPages = button("cmdTwoPages", QStringLiteral("Two Pages"));
    cmdExportPdf = button("cmdExportPdf", QStringLiteral("Export PDF…"));
    cmdPrint = button("cmdPrint", QStringLiteral("Print…"));
    pmvSpreads = named(new frmPageMapView(this), "pmvSpreads");
    lblSummary = named(new QLabel(this), "lblSummary");
    lblSummary->setFrameShape(QFrame::StyledPanel);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *top = new QHBoxLayout;
    top->addWidget(lblLegend, 1);
    for (QPushButton *b : {cmdWholeBook, cmdTwoPages, cmdExportPdf, cmdPrint})
        top->addWidget(b);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(pmvSpreads, 1);
    layout->addWidget(lblSummary);
    outer->addLayout(layout, 1);
    // Where the moves, undos and exports say what they did.
    outer->addWidget(createStatusBar());

    connect(cmdWholeBook, &QPushButton::clicked, pmvSpreads, &frmPageMapView::showWholeBook);
    // The first spread of two facing pages.
    connect(cmdTwoPages, &QPushButton::clicked, this, [this] { pmvSpreads->showTwoPages(2); });
    connect(cmdExportPdf, &QPushButton::clicked, this, &frmPageMap::ExportPdf);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPageMap::PrintMap);
    connect(pmvSpreads, &frmPageMapView::moveRequested, this, &frmPageMap::MovePlacement);
    auto *undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QShortcut::activated, this, &frmPageMap::UndoLastMove);
    // Changes made anywhere in the catalog core, the editor's included, are seen at once.
    connect(&catalog::MapChanges::instance(), &catalog::MapChanges::changed, this,
            &frmPageMap::mapChanged);

    ReloadMap();
}

QString frmPageMap::windowNameFor(const QString &nodeKey)
{
    return kWindowNamePrefix + catalog::mapKeyOf(NodeKey(nodeKey));
}

void frmPageMap::ReloadMap()
{
    BusyPointer busy;
    if (auto map = attempt([&] { return catalog::loadPageMap(NodeKey(m_mapKey)); }))
        m_map = std::move(*map);
    showMap();
}

void frmPageMap::showMap()
{
    setWindowTitle(QStringLiteral("Page Map - ") + m_map.caption);
    pmvSpreads->setPageMap(&m_map);
    lblLegend->setText(legendHtml());
    lblSummary->setText(pagemap::summaryText(m_map.summary()));
}

QString frmPageMap::legendHtml() const
{
    QString html;
    for (int i = 0; i < m_map.sections.size(); ++i) {
        const QString &section = m_map.sections.at(i);
        html += swatch(catalog::sectionColour(i),
                       section.isEmpty() ? QStringLiteral("(no section)") : section);
    }
    html += QStringLiteral(" | ");
    html += swatch(catalog::fillColour(catalog::Fill::Under), QStringLiteral("under 100"));
    html += swatch(catalog::fillColour(catalog::Fill::Full), QStringLiteral("100"));
    html += swatch(catalog::fillColour(catalog::Fill::Over), QStringLiteral("over 100"));
    return html;
}

void frmPageMap::mapChanged(const QString &mapKey)
{
    if (mapKey.isEmpty() || mapKey == m_mapKey)
        ReloadMap();
}

void frmPageMap::MovePlacement(qlonglong itemId, int toPage)
{
    const catalog::MapPage *shownOn = m_map.pageOfPlacement(itemId);
    // The page it was dragged from: a placement another client has moved since is not moved.
    const int fromPage = shownOn ? shownOn->number : -1;
    catalog::PlacementMove move;
    const auto result = attempt([&] {
        return catalog::movePlacement(NodeKey(m_mapKey), itemId, fromPage, toPage,
                                      QDateTime::currentDateTime(), gstrUserName, &move);
    });
    if (!result) {
        // The database refused: the map is shown as it is stored.
        ReloadMap();
        return;
    }
    switch (*result) {
    case MoveResult::Moved:
        m_moves.push_back(move);
        setStatusText(QStringLiteral("Moved %1 from page %2 to page %3, position %4.")
                          .arg(move.productId)
                          .arg(move.fromPage)
                          .arg(move.toPage)
                          .arg(move.toPosition));
        break;
    case MoveResult::SamePage:
        break;
    case MoveResult::AlreadyOnPage:
        inform(QStringLiteral("The product is already on page %1. It has not been moved.")
                   .arg(toPage));
        break;
    case MoveResult::NoSuchPage:
        inform(QStringLiteral("Page %1 is not a page of this map.").arg(toPage));
        break;
    case MoveResult::NoSuchPlacement:
        inform(QStringLiteral("The placement is no longer on this map as shown. The map has been "
                              "read again."));
        ReloadMap();
        break;
    }
}

void frmPageMap::UndoLastMove()
{
    if (m_moves.empty())
        return;
    const catalog::PlacementMove move = m_moves.back();
    int position = 0;
    const auto result = attempt([&] {
        return catalog::undoMove(move, QDateTime::currentDateTime(), gstrUserName, &position);
    });
    if (!result) {
        ReloadMap();
        return;
    }
    // Refused or done, the move is not offered again.
    m_moves.pop_back();
    switch (*result) {
    case MoveResult::Moved:
        setStatusText(QStringLiteral("%1 is back on page %2, position %3%4.")
                          .arg(move.productId)
                          .arg(move.fromPage)
                          .arg(position)
                          .arg(position == move.fromPosition
                                   ? QString()
                                   : QStringLiteral(" (position %1 has been taken since)")
                                         .arg(move.fromPosition)));
        break;
    case MoveResult::AlreadyOnPage:
        inform(QStringLiteral("The move of %1 cannot be undone: the product has since been placed "
                              "on page %2.")
                   .arg(move.productId)
                   .arg(move.fromPage));
        break;
    case MoveResult::NoSuchPage:
        inform(QStringLiteral("The move of %1 cannot be undone: page %2 is no longer on the map.")
                   .arg(move.productId)
                   .arg(move.fromPage));
        break;
    default:
        inform(QStringLiteral("The move of %1 cannot be undone: the placement has been changed "
                              "since.")
                   .arg(move.productId));
        break;
    }
}

void frmPageMap::showEvent(QShowEvent *event)
{
    WorkingWindow::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        // Once the window has its size: the whole book at a glance.
        QMetaObject::invokeMethod(
            pmvSpreads, [view = pmvSpreads] { view->showWholeBook(); }, Qt::QueuedConnection);
    }
}

// ---- Printing

namespace {

// A line of the list that follows the spreads in print: a page's heading, or one of its products
// that did not fit its tile.
struct RestLine
{
    const catalog::MapPage *page = nullptr;
    const catalog::MapPlacement *placement = nullptr; // nullptr for the heading
};

std::vector<RestLine> productsBeyondTiles(const catalog::PageMap &map)
{
    std::vector<RestLine> lines;
    for (const catalog::MapPage &page : map.pages) {
        const auto shown = std::size_t(pagemap::productsShown(page, pagemap::Detail::Full));
        if (shown >= page.placements.size())
            continue;
        lines.push_back({&page, nullptr});
        for (std::size_t i = shown; i < page.placements.size(); ++i)
            lines.push_back({&page, &page.placements[i]});
    }
    return lines;
}

} // namespace

int frmPageMap::paintDocument(QPagedPaintDevice &device, const catalog::PageMap &map,
                              const QString &caption, const QDate &date)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::TextAntialiasing);
    // A landscape page is kPageWidth book units across; two spreads stand side by side on it.
    constexpr double kPageWidth = 880;
    constexpr double kListTop = 64;
    constexpr int kListColumns = 4;
    constexpr double kColumnGap = 20;
    const double scale = device.width() / kPageWidth;
    const double pageHeight = device.height() / scale;
    const catalog::PageMapSummary summary = map.summary();
    const std::vector<catalog::Spread> spreads = map.spreads();
    const int spreadPages = std::max(1, int((spreads.size() + 1) / 2));

    // The products a tile has no room for follow the spreads, in columns, so that the print holds
    // every product of the map. A page's heading never stands alone at the foot of a column.
    const std::vector<RestLine> rest = productsBeyondTiles(map);
    const int linesPerColumn =
        std::max(2, int((pageHeight - kListTop - 20) / pagemap::kLineHeight) - 1);
    std::vector<int> slots;
    slots.reserve(rest.size());
    for (const RestLine &line : rest) {
        int slot = slots.empty() ? 0 : slots.back() + 1;
        if (!line.placement && slot % linesPerColumn == linesPerColumn - 1)
            ++slot;
        slots.push_back(slot);
    }
    const int linesPerPage = linesPerColumn * kListColumns;
    const int pages = spreadPages + (slots.empty() ? 0 : slots.back() / linesPerPage + 1);

    QFont font;
    const auto header = [&](int page) {
        painter.resetTransform();
        painter.scale(scale, scale);
        font.setPixelSize(16);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(20, 14, 600, 22), Qt::AlignLeft | Qt::AlignVCenter, caption);
        font.setBold(false);
        font.setPixelSize(11);
        painter.setFont(font);
        painter.drawText(QRectF(kPageWidth - 220, 14, 200, 22), Qt::AlignRight | Qt::AlignVCenter,
                         vb::FormatDate(date, QStringLiteral("mm/dd/yyyy")) +
                             QStringLiteral("   page %1 of %2").arg(page + 1).arg(pages));
        // The summary strip as the window shows it, wrapped rather than cut at the page's edge.
        painter.drawText(QRectF(20, 36, kPageWidth - 40, 26),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         pagemap::summaryText(summary));
    };
    for (int page = 0; page < spreadPages; ++page) {
        if (page > 0)
            device.newPage();
        header(page);
        const double top = std::max(kListTop, (pageHeight - pagemap::kTileHeight) / 2);
        for (int i = 0; i < 2; ++i) {
            const std::size_t index = std::size_t(page * 2 + i);
            if (index >= spreads.size())
                break;
            const QRectF spreadRect(20 + i * (2 * pagemap::kTileWidth + 40), top,
                                    2 * pagemap::kTileWidth, pagemap::kTileHeight);
            pagemap::paintSpread(painter, spreadRect, map, spreads[index], pagemap::PaintState());
        }
    }
    const double columnWidth = (kPageWidth - 40 - (kListColumns - 1) * kColumnGap) / kListColumns;
    int listPage = -1;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int slot = slots[i] % linesPerPage;
        if (slots[i] / linesPerPage != listPage) {
            listPage = slots[i] / linesPerPage;
            device.newPage();
            header(spreadPages + listPage);
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(QRectF(20, kListTop, kPageWidth - 40, pagemap::kLineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Products beyond their page's tile"));
        }
        const QRectF line(20 + (slot / linesPerColumn) * (columnWidth + kColumnGap),
                          kListTop + (slot % linesPerColumn + 1.5) * pagemap::kLineHeight,
                          columnWidth, pagemap::kLineHeight);
        if (rest[i].placement) {
            pagemap::paintProductLine(painter, line, *rest[i].placement, Qt::black);
        } else {
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                             pagemap::pageHeading(*rest[i].page));
        }
    }
    // Ending the painter writes the document's end; a device that failed then wrote nothing whole.
    if (!painter.end())
        return 0;
    return pages;
}

std::optional<QString> frmPageMap::writePdf(const QString &fileName, const catalog::PageMap &map,
                                            const QString &caption, const QDate &date)
{
    // Written under a temporary name and given its own only when whole: a failed write (a full
    // disk, a folder that cannot be written) leaves the file there before as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setTitle(caption);
        writer.setCreator(QStringLiteral("Folvane"));
        writer.setResolution(150);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pages = paintDocument(writer, map, caption, date);
    }
    if (pages == 0) {
        const QString error = file.error() == QFileDevice::NoError
                                  ? QStringLiteral("The document could not be made.")
                                  : file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

void frmPageMap::ExportPdf()
{
    QString suggested = m_map.caption;
    suggested.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9 _-]")), QStringLiteral("_"));
    const QString fileName = Dialogs::instance().saveFileName(
        QStringLiteral("Export PDF"),
        QStringLiteral("Page Map ") + suggested + QStringLiteral(".pdf"),
        QStringLiteral("PDF files (*.pdf)"));
    if (fileName.isEmpty())
        return;
    BusyPointer busy;
    if (const auto failure = writePdf(fileName, m_map, windowTitle(), QDate::currentDate())) {
        setStatusText(QString());
        Dialogs::instance().message(QStringLiteral("The page map could not be written to ") +
                                        fileName + QStringLiteral(".\r") + *failure,
                                    windowTitle(), Dialogs::Icon::Critical);
        return;
    }
    setStatusText(QStringLiteral("The page map has been written to ") + fileName +
                  QStringLiteral("."));
}

void frmPageMap::PrintMap()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(windowTitle());
    if (!shell::choosePrinter(printer, windowTitle(), this))
        return;
    BusyPointer busy;
    if (paintDocument(printer, m_map, windowTitle(), QDate::currentDate()) == 0)
        Dialogs::instance().message(QStringLiteral("The page map could not be printed."),
                                    windowTitle(), Dialogs::Icon::Critical);
}

// ---- Registration

void catalog::registerPageMapWindows(WindowRegistry &registry)
{
    registry.addWindowFamily(frmPageMap::kWindowNamePrefix, [](const QString &windowName) {
        return static_cast<QWidget *>(
            new frmPageMap(windowName.mid(frmPageMap::kWindowNamePrefix.size())));
    });
    registry.addCommand(QStringLiteral("mnuPrint"), [](WindowHost &host) {
        if (auto *map = qobject_cast<frmPageMap *>(host.activeChild()))
            map->PrintMap();
        else
            Dialogs::instance().message(
                QStringLiteral("There is nothing to print in this window."));
    });
}

#include "reports/frmReport.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/DeferredRefresh.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/PrinterChoice.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QChartView>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <utility>

frmReport::frmReport(const QString &windowName, const QString &caption, QWidget *parent)
    : WorkingWindow(windowName, caption, parent)
{
    m_pickers = new QHBoxLayout;
    cmdExportPdf = newButton(this, "cmdExportPdf", QStringLiteral("Export PDF…"));
    cmdPrint = newButton(this, "cmdPrint", QStringLiteral("Print…"));
    // The keyboard stays with the pickers.
    cmdExportPdf->setFocusPolicy(Qt::NoFocus);
    cmdPrint->setFocusPolicy(Qt::NoFocus);
    connect(cmdExportPdf, &QPushButton::clicked, this, &frmReport::ExportPdf);
    connect(cmdPrint, &QPushButton::clicked, this, &frmReport::PrintReport);
    auto *top = new QHBoxLayout;
    top->addLayout(m_pickers);
    top->addStretch(1);
    top->addWidget(cmdExportPdf);
    top->addWidget(cmdPrint);
    m_body = new QVBoxLayout;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(top);
    layout->addLayout(m_body, 1);
    layout->addWidget(createStatusBar());

    m_refresh = new DeferredRefresh(this, {}, [this] {
        if (!m_reread)
            return;
        std::vector<std::pair<int, int>> places;
        for (const auto &[caption, grid] : m_grids)
            places.emplace_back(grid->Row(), grid->verticalScrollBar()->value());
        m_reread();
        for (std::size_t i = 0; i < m_grids.size(); ++i) {
            FlexGrid *grid = m_grids[i].second;
            if (places[i].first < grid->Rows())
                grid->setRow(places[i].first);
            grid->verticalScrollBar()->setValue(places[i].second);
        }
    });
    connect(&catalog::MapChanges::instance(), &catalog::MapChanges::changed, this,
            [this](const QString &mapKey) {
                if (m_reread && (mapKey.isEmpty() || m_followed.contains(mapKey)))
                    m_refresh->request();
            });
}

void frmReport::followMaps(const QStringList &mapKeys, std::function<void()> reread)
{
    m_followed = mapKeys;
    m_reread = mapKeys.isEmpty() ? std::function<void()>() : std::move(reread);
    m_watch.setMaps(mapKeys);
}

FlexGrid *frmReport::addGrid(const char *name, const QString &caption)
{
    auto *grid = named(new FlexGrid(this), name);
    offerGridFunctions(*grid);
    m_grids.emplace_back(caption, grid);
    return grid;
}

QChartView *frmReport::addChart(const char *name)
{
    // No smoothing of edges: the charts draw upright bars and level lines, which it leaves as
    // they were, at a third of the cost of painting a chart. Their texts are smoothed still.
    m_chart = named(new QChartView(this), name);
    m_chart->setMinimumHeight(200);
    return m_chart;
}

QString frmReport::pdfName() const
{
    QString name = windowTitle() + QLatin1Char(' ') + m_subject;
    return name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9 _-]")), QStringLiteral("_"));
}

void frmReport::showOnReturn(QComboBox &picker, std::function<void()> show)
{
    // The line edit hears Return twice when the picker's completer passes the key on; both
    // arrive before the event loop turns again, so the show waits for it and runs once.
    auto queued = std::make_shared<bool>(false);
    connect(picker.lineEdit(), &QLineEdit::returnPressed, this, [this, queued, show] {
        if (std::exchange(*queued, true))
            return;
        QTimer::singleShot(0, this, [queued, show] {
            *queued = false;
            show();
        });
    });
}

bool frmReport::readReport(const std::function<void(const reports::RowRead &)> &read)
{
    bool whole = false;
    const bool ran = attempt([&] {
        whole = watchedRun([&](const std::function<bool()> &recordDone) { read(recordDone); });
    });
    if (ran && !whole)
        setStatusText(QStringLiteral("Report stopped; nothing is shown."));
    return ran && whole;
}

void frmReport::showRows(FlexGrid &grid, const QStringList &headers, const QList<QStringList> &rows)
{
    setupGrid(grid, headers, GridKind::Plain);
    grid.appendRows(rows);
    grid.showAppendedRows();
    sizeColumns(grid, headers);
}

std::size_t frmReport::fillRows(FlexGrid &grid, const QStringList &headers, std::size_t count,
                                const std::function<QStringList(std::size_t)> &row)
{
    setupGrid(grid, headers, GridKind::Plain);
    fillGrid(grid, [&](const RowSink &sink) {
        for (std::size_t i = 0; i < count; ++i)
            sink(row(i));
    });
    sizeColumns(grid, headers);
    return std::size_t(grid.Rows() - 1);
}

void frmReport::sizeColumns(FlexGrid &grid, const QStringList &headers)
{
    // Each column as wide as its widest text, so figures read whole. Measuring is what costs, so
    // only the longest texts of the first rows are measured: one a few characters shorter is
    // narrower but for the oddest mix of letters.
    constexpr int kRowsLooked = 500;
    constexpr int kMeasured = 8;
    const int last = std::min(grid.Rows() - 1, kRowsLooked);
    const QFontMetrics metrics(grid.font());
    for (int col = 0; col < grid.Cols(); ++col) {
        qsizetype longest = 0;
        for (int row = 1; row <= last; ++row)
            longest = std::max(longest, grid.cellText(row, col).size());
        int widest = metrics.horizontalAdvance(headers.value(col));
        QStringList measured;
        for (int row = 1; row <= last && measured.size() < kMeasured; ++row) {
            const QStringView text = grid.cellText(row, col);
            if (text.size() + 2 < longest || measured.contains(text))
                continue;
            measured << text.toString();
            widest = std::max(widest, metrics.horizontalAdvance(measured.constLast()));
        }
        grid.setColWidth(col, std::min(widest + 14, 420) * 15);
    }
}

QString frmReport::documentHtml() const
{
    QString html = QStringLiteral("<h2>") + windowTitle().toHtmlEscaped() + QStringLiteral("</h2>");
    html += QStringLiteral("<p>") + m_subject.toHtmlEscaped() + QStringLiteral("<br/>Printed ") +
            vb::FormatDate(QDate::currentDate(), QStringLiteral("mm/dd/yyyy")) +
            QStringLiteral("</p>");
    for (const auto &[caption, grid] : m_grids) {
        if (!caption.isEmpty())
            html += QStringLiteral("<h3>") + caption.toHtmlEscaped() + QStringLiteral("</h3>");
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">");
        for (int row = 0; row < grid->Rows(); ++row) {
            if (grid->RowHeight(row) == 0)
                continue;
            html += QStringLiteral("<tr>");
            for (int col = 0; col < grid->Cols(); ++col) {
                const QString cell = grid->TextMatrix(row, col).toHtmlEscaped();
                if (row == 0) {
                    html += QStringLiteral("<th>") + cell + QStringLiteral("</th>");
                    continue;
                }
                // Painted cells print in their colours, which the charts and the page map share
                // (a cell's colour is 0x00BBGGRR: bgr() swaps red and blue either way).
                const quint32 painted = grid->cellBackColor(row, col);
                html += painted != 0 ? QStringLiteral("<td bgcolor=\"") +
                                           reports::rgb(reports::bgr(painted)).name() +
                                           QStringLiteral("\">")
                                     : QStringLiteral("<td>");
                html += cell + QStringLiteral("</td>");
            }
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    if (m_chart)
        html += QStringLiteral("<p><img src=\"chart\" width=\"640\"/></p>");
    return html;
}

void frmReport::buildDocument(QTextDocument &document) const
{
    QFont font = document.defaultFont();
    font.setPointSize(8);
    document.setDefaultFont(font);
    if (m_chart) {
        QImage image(1600, 700, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_chart->render(&painter, QRectF(image.rect()), m_chart->viewport()->rect());
        painter.end();
        document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chart")), image);
    }
    document.setHtml(documentHtml());
}

void frmReport::printOn(QPagedPaintDevice &device) const
{
    QTextDocument document;
    buildDocument(document);
    document.print(&device);
}

bool frmReport::writePdf(const QString &fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(windowTitle() + QLatin1Char(' ') + m_subject);
        writer.setCreator(QStringLiteral("Folvane"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        printOn(writer);
    }
    return file.commit();
}

void frmReport::ExportPdf()
{
    const QString fileName = Dialogs::instance().saveFileName(QStringLiteral("Export PDF"),
                                                              pdfName() + QStringLiteral(".pdf"),
                                                              QStringLiteral("PDF files (*.pdf)"));
    if (fileName.isEmpty())
        return;
    BusyPointer busy;
    if (writePdf(fileName))
        setStatusText(QStringLiteral("The report has been written to ") + fileName +
                      QStringLiteral("."));
    else
        Dialogs::instance().message(QStringLiteral("The report could not be written to ") +
                                        fileName + QStringLiteral("."),
                                    windowTitle(), Dialogs::Icon::Critical);
}

void frmReport::PrintReport()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!shell::choosePrinter(printer, windowTitle(), this))
        return;
    BusyPointer busy;
    printOn(printer);
}

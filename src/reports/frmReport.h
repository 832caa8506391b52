#pragma once

#include "pagemap/PageMap.h"
#include "reports/ReportSupport.h"
#include "shell/WorkingWindow.h"

#include <QColor>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class DeferredRefresh;
class FlexGrid;
class QChartView;
class QComboBox;
class QHBoxLayout;
class QPagedPaintDevice;
class QPushButton;
class QTextDocument;
class QVBoxLayout;

// The base of the Reports menu's windows: the pickers in a row at the top with "Export PDF…" and
// "Print…" at its end, the report's grids and chart below, a status bar. The printed report (PDF
// or paper) is the window's title, what it was asked for, then each grid as a table and the
// chart as a picture.
class frmReport : public WorkingWindow
{
    Q_OBJECT
public:
    frmReport(const QString &windowName, const QString &caption, QWidget *parent = nullptr);

    // Asks for a file name and writes the report there as a PDF.
    void ExportPdf();
    // File > Print and the Print button.
    void PrintReport();
    // Writes the report as a PDF under a temporary name, renamed to `fileName` when whole; false
    // when it could not be written (an earlier file of the name is then kept).
    bool writePdf(const QString &fileName) const;
    // The printed report as HTML (its chart as the image resource "chart").
    QString documentHtml() const;

protected:
    QHBoxLayout *pickerRow() const { return m_pickers; }
    QVBoxLayout *body() const { return m_body; }
    // A grid of the report, printed under its caption in the order added.
    FlexGrid *addGrid(const char *name, const QString &caption);
    // The report's chart view (one at most).
    QChartView *addChart(const char *name);
    // What the report is of, printed under the title ("BOOK B105 - 0000").
    void setSubject(const QString &subject) { m_subject = subject; }
    // A file name for the PDF, without its extension.
    virtual QString pdfName() const;

    // Return in an editable picker runs `show`, once, when the event loop next turns.
    void showOnReturn(QComboBox &picker, std::function<void()> show);
    // Reads a report under the operator's watch: Esc stops the reading, a failure is reported.
    // True when the report was read whole.
    bool readReport(const std::function<void(const reports::RowRead &watch)> &read);
    // The report shown is of these maps: when any of them changes, here or at another client,
    // `reread` reads it again as it was asked for, leaving the pickers as the operator has them and
    // each grid at its row and scroll position. Empty maps: nothing to follow.
    void followMaps(const QStringList &mapKeys, std::function<void()> reread);
    // The grid emptied to its headers and filled with rows.
    void showRows(FlexGrid &grid, const QStringList &headers, const QList<QStringList> &rows);
    // The same for a long list, each row made as it is appended, in the batches and under the
    // operator's watch of the other long fills: its count so far in the status bar, and Esc
    // leaves the rows shown so far. The number of rows shown.
    std::size_t fillRows(FlexGrid &grid, const QStringList &headers, std::size_t count,
                         const std::function<QStringList(std::size_t)> &row);

private:
    static void sizeColumns(FlexGrid &grid, const QStringList &headers);
    void printOn(QPagedPaintDevice &device) const;
    void buildDocument(QTextDocument &document) const;

    QHBoxLayout *m_pickers;
    QVBoxLayout *m_body;
    QPushButton *cmdExportPdf;
    QPushButton *cmdPrint;
    std::vector<std::pair<QString, FlexGrid *>> m_grids;
    QChartView *m_chart = nullptr;
    QString m_subject;
    catalog::MapChanges::Watch m_watch;
    QStringList m_followed;
    std::function<void()> m_reread;
    DeferredRefresh *m_refresh;
};

namespace reports {
// A 0xRRGGBB colour (the page map's palette) for a chart, and for a grid cell (0x00BBGGRR).
inline QColor rgb(std::uint32_t colour) { return QColor::fromRgb(QRgb(colour)); }
inline quint32 bgr(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}
} // namespace reports

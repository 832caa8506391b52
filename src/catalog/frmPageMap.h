#pragma once

#include "catalog/PageMap.h"
#include "shell/WorkingWindow.h"

#include <QDate>

#include <optional>
#include <vector>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class frmPageMapView;
class WindowRegistry;

// Page Map: the map of a catalog test or insert as a book on the wall, spread by spread, each
// page with its section, products, forecast and how full it is. A product dragged to another page
// moves there; Ctrl+Z takes the moves back one by one. The map follows changes made in the
// catalog editor. One window per map: its name is "frmPageMap|" followed by the map's key.
class frmPageMap : public WorkingWindow
{
    Q_OBJECT
public:
    // The window of the map a node of the catalog editor belongs to.
    explicit frmPageMap(const QString &nodeKey, QWidget *parent = nullptr);

    static QString windowNameFor(const QString &nodeKey);
    static inline const QString kWindowNamePrefix = QStringLiteral("frmPageMap|");

    const catalog::PageMap &pageMap() const { return m_map; }
    frmPageMapView *view() const { return pmvSpreads; }

    // Reads the map again; a failure is reported and leaves the map shown before.
    void ReloadMap();
    // Moves a placement to a page, as a drop does; messages say why a move was refused.
    void MovePlacement(qlonglong itemId, int toPage);
    // Takes the last move back.
    void UndoLastMove();
    // Asks for a file name and writes the whole map as a PDF.
    void ExportPdf();
    void PrintMap();

    // The whole map, two spreads a landscape page, with the caption, the date and the page fill;
    // after them the products that did not fit their page's tile. Returns the number of pages
    // written, 0 when the device failed.
    static int paintDocument(QPagedPaintDevice &device, const catalog::PageMap &map,
                             const QString &caption, const QDate &date);
    // Writes the document as a PDF file; why it failed, nothing when it was written.
    static std::optional<QString> writePdf(const QString &fileName, const catalog::PageMap &map,
                                           const QString &caption, const QDate &date);

private:
    void showMap();
    void mapChanged(const QString &mapKey);
    QString legendHtml() const;

    catalog::PageMap m_map;
    QString m_mapKey;
    std::vector<catalog::PlacementMove> m_moves;
    bool m_firstShow = true;

    QLabel *lblLegend;
    QPushButton *cmdWholeBook;
    QPushButton *cmdTwoPages;
    QPushButton *cmdExportPdf;
    QPushButton *cmdPrint;
    frmPageMapView *pmvSpreads;
    QLabel *lblSummary;

protected:
    void showEvent(QShowEvent *event) override;
};

namespace catalog {
// Registers the page map windows (by their name prefix) and the Catalog Edit command that opens
// the page map of the editor's selection.
void registerPageMapWindows(WindowRegistry &registry);
} // namespace catalog

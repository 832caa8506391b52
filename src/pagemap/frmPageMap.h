#pragma once

#include "pagemap/PageMap.h"
#include "pagemap/PageOperations.h"
#include "shell/WorkingWindow.h"

#include <QDate>

#include <functional>
#include <optional>
#include <variant>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QToolButton;
class QPagedPaintDevice;
class QPushButton;
class DeferredRefresh;
class frmPageMapView;

// Page Map: the map of a catalog test or insert as a book on the wall, spread by spread, each
// page with its section, products, forecast and how full it is; where the book is planned. A
// product dragged to another page moves there, a page dragged by its number band (a spread by its
// gutter) moves the pages in between; a page's menu inserts, removes, edits and opens pages.
// Ctrl+Z and Ctrl+Shift+Z undo and redo every change made here. The summary tells how the pages
// fill the printer's signatures; another version can be compared page against page. The map
// follows changes made in the catalog editor. One window per map: its name is "frmPageMap|"
// followed by the map's key.
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
    // Moves pages as a drop or Ctrl+arrow does.
    void MovePages(int first, int count, int to);
    // A new page before or after a page, with that page's section.
    void InsertPage(int page, bool after);
    // Removes a page; one with placements only when the operator agrees.
    void RemovePage(int page);
    // Asks for the page's section, as the Catalog Edit command does.
    void EditPageSection(int page);
    // The catalog editor with the page's node selected.
    void OpenInEditor(int page);
    // A page's menu, as a right click or the Menu key shows it (owned by the caller).
    QMenu *pageMenu(int page);
    // Takes the last change back, or makes the last one taken back again.
    void Undo();
    void Redo();
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Pages per signature (4, 8, 16 or 32), kept per catalog in the user's settings.
    void setSignatureSize(int size);
    int signatureSize() const { return m_signature; }
    void showSignatures(bool show);
    // Shows another map (its key) under this one, page against page, differences marked; an
    // empty key ends the comparison.
    void CompareWith(const QString &mapKey);
    const catalog::MapComparison &comparison() const { return m_comparison; }
    frmPageMapView *compareView() const { return pmvCompare; }
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
    using Change = std::variant<catalog::PlacementMove, catalog::PageEdit>;

    void showMap();
    void mapChanged(const QString &mapKey);
    // Runs a change of the window's own. Its announcement is only counted: the map held takes the
    // change in afterwards (follow) rather than reading the whole map again.
    template <typename Operation> auto making(Operation &&operation)
    {
        m_heard = 0;
        m_making = true;
        auto result = attempt(std::forward<Operation>(operation));
        m_making = false;
        return result;
    }
    // After it: the map held takes the change in when it was made (`made`), or is read again when
    // another change of the map was heard meanwhile or the map held cannot take it.
    void follow(bool made, const std::function<bool(catalog::PageMap &)> &takeIn = {});
    QString legendHtml() const;
    QString summaryLine() const;
    void done(Change change, const QString &status);
    // Tells why a page operation was refused; true when it was done, and then taken into the map
    // held.
    bool pageOutcome(const std::optional<catalog::PageResult> &result, int page,
                     const catalog::PageEdit &edit);
    void replay(bool undo);
    void updateUndoButtons();
    void offerComparisons();
    QString signatureSettingsKey() const;

    catalog::PageMap m_map;
    QString m_mapKey;
    std::vector<Change> m_undo;
    std::vector<Change> m_redo;
    int m_signature = 4;
    catalog::PageMap m_other;
    QString m_otherKey;
    catalog::MapComparison m_comparison;
    bool m_firstShow = true;
    bool m_making = false;
    int m_heard = 0;
    catalog::MapChanges::Watch m_watch;
    DeferredRefresh *m_refresh;

    QLabel *lblLegend;
    QPushButton *cmdWholeBook;
    QPushButton *cmdTwoPages;
    QPushButton *cmdExportPdf;
    QPushButton *cmdPrint;
    QToolButton *cmdUndo;
    QToolButton *cmdRedo;
    QComboBox *cboSignature;
    QCheckBox *chkSignatures;
    QPushButton *cmdCompare;
    frmPageMapView *pmvSpreads;
    QLabel *lblCompare;
    frmPageMapView *pmvCompare;
    QLabel *lblSummary;

protected:
    void showEvent(QShowEvent *event) override;
};

#pragma once

#include "reports/MapChoices.h"
#include "reports/VersionCompare.h"
#include "reports/frmReport.h"

class FlexGrid;
class QCheckBox;
class QComboBox;
class QPushButton;

// Compare Versions: the products added, removed, moved and repriced between two maps, the pages
// whose section differs, and the count of each at the top. Once the first map is chosen, the
// second picker offers the other versions of its catalog first. A double-click opens the catalog
// editor on the row's page, of the map whose columns were clicked.
class frmCompareVersions : public frmReport
{
    Q_OBJECT
public:
    explicit frmCompareVersions(QWidget *parent = nullptr);

    // Compares the maps two catalog editor keys belong to.
    void CompareMaps(const QString &firstKey, const QString &secondKey);
    // Compares the maps the pickers' texts name; a text that names none is said so.
    void CompareTyped();
    // Opens the catalog editor on the page of a row of grdChanges or grdSections (rows from 1);
    // the map is the one whose columns hold `col`, or the one the row has.
    void OpenInEditor(const FlexGrid &grid, int row, int col);
    const reports::VersionComparison &comparison() const { return m_comparison; }

private:
    void firstChosen(const QString &key);
    // Reads and shows the comparison of two maps; the pickers are left as they are.
    void readComparison(const catalog::NodeKey &first, const catalog::NodeKey &second);
    // False when the operator stopped the list of changes before its end.
    bool showComparison();

    std::vector<reports::MapChoice> m_choices;
    reports::VersionComparison m_comparison;
    QComboBox *cboFirst;
    QComboBox *cboSecond;
    QCheckBox *chkUnchanged;
    QPushButton *cmdShow;
    FlexGrid *grdCounts;
    FlexGrid *grdChanges;
    FlexGrid *grdSections;
};

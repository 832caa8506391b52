#include "mailing/frmCatPkg.h"

#include "mailing/CreativeExport.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <optional>

using namespace catalogpackage;

namespace {

constexpr int kPanelWidthTwips = 15600;
constexpr int kPanelHeightTwips = 9600;

QList<int> selectedRows(const QListWidget &list)
{
    QList<int> rows;
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->isSelected())
            rows << row;
    return rows;
}

} // namespace

frmCatPkg::frmCatPkg(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmCatPkg"), caption(), parent)
{
    picContainer = createPanel(kPanelWidthTwips, kPanelHeightTwips, true);

    lstMainCatalogs = addList("lstMainCatalogs", false);
    lstInserts = addList("lstInserts", true);
    txtDescription = newTextBox(picContainer, "txtDescription", 250);
    txtMailDate = newTextBox(picContainer, "txtMailDate", 20);
    cmdAdd = newButton(picContainer, "cmdAdd", QStringLiteral("Create Package"));
    grdPackages = named(new FlexGrid(picContainer), "grdPackages");
    lstPackageContents = addList("lstPackageContents", true);
    grdDupes = named(new FlexGrid(picContainer), "grdDupes");
    cmdDelete = newButton(picContainer, "cmdDelete", QStringLiteral("Delete Package"));
    cmdSend = newButton(picContainer, "cmdSend", QStringLiteral("Send To Creative"));

    // The package being put together across the top, the packages and what is in them below.
    auto *layout = new QGridLayout(picContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(180));
    layout->setVerticalSpacing(twips(60));
    layout->addWidget(newLabel(picContainer, "lblMainCatalogs",
                               QStringLiteral("Available Catalogs List:"), lstMainCatalogs),
                      0, 0);
    layout->addWidget(lstMainCatalogs, 1, 0);
    layout->addWidget(
        newLabel(picContainer, "lblInserts", QStringLiteral("Available Inserts List:"), lstInserts),
        0, 1);
    layout->addWidget(lstInserts, 1, 1);
    auto *entryPanel = new QGridLayout;
    entryPanel->addWidget(
        newLabel(picContainer, "lblDescription", QStringLiteral("Description:"), txtDescription), 0,
        0);
    entryPanel->addWidget(txtDescription, 0, 1);
    entryPanel->addWidget(
        newLabel(picContainer, "lblMailDate", QStringLiteral("Mail Date:"), txtMailDate), 1, 0);
    entryPanel->addWidget(txtMailDate, 1, 1);
    entryPanel->addWidget(cmdAdd, 2, 1, Qt::AlignRight);
    entryPanel->setRowStretch(3, 1);
    layout->addLayout(entryPanel, 1, 2);
    layout->addWidget(grdPackages, 2, 0, 1, 2);
    auto *contents = new QVBoxLayout;
    contents->addWidget(newLabel(picContainer, "lblPackageContents",
                                 QStringLiteral("Package Contents:"), lstPackageContents));
    contents->addWidget(lstPackageContents, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdSend);
    contents->addLayout(buttons);
    layout->addLayout(contents, 2, 2);
    layout->addWidget(
        newLabel(picContainer, "lblDupes", QStringLiteral("Duplicated Items:"), grdDupes), 3, 0, 1,
        3);
    layout->addWidget(grdDupes, 4, 0, 1, 3);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(2, 4);
    layout->setRowStretch(4, 3);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 3);
    layout->setColumnStretch(2, 4);

    setTabOrder(lstMainCatalogs, lstInserts);
    setTabOrder(lstInserts, txtDescription);
    setTabOrder(txtDescription, txtMailDate);
    setTabOrder(txtMailDate, cmdAdd);
    setTabOrder(cmdAdd, grdPackages);
    setTabOrder(grdPackages, lstPackageContents);
    setTabOrder(lstPackageContents, cmdDelete);
    setTabOrder(cmdDelete, cmdSend);
    setTabOrder(cmdSend, grdDupes);

    connect(lstMainCatalogs, &QListWidget::itemSelectionChanged, this,
            &frmCatPkg::lstMainCatalogs_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmCatPkg::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmCatPkg::cmdDelete_Click);
    connect(cmdSend, &QPushButton::clicked, this, &frmCatPkg::cmdSend_Click);
    connect(grdPackages, &FlexGrid::cellClicked, this, &frmCatPkg::grdPackages_Click);
    offerGridFunctions(*grdPackages);
    offerGridFunctions(*grdDupes);

    txtDescription->clear();
    txtMailDate->clear();
    InitDupesGrid();
    InitPackageGrid();
    LoadInsertList();
    LoadCatalogsAndPackages();
}

QListWidget *frmCatPkg::addList(const char *name, bool multiSelect)
{
    auto *list = named(new QListWidget(picContainer), name);
    list->setSelectionMode(multiSelect ? QAbstractItemView::MultiSelection
                                       : QAbstractItemView::SingleSelection);
    return list;
}

catalogpackage::PackageEntry frmCatPkg::entry() const
{
    PackageEntry package;
    const QList<int> catalogs = selectedRows(*lstMainCatalogs);
    if (!catalogs.isEmpty() && catalogs.first() < CatalogListEntries.size())
        package.catalog = CatalogListEntries.at(catalogs.first());
    package.description = txtDescription->text();
    package.mailDate = txtMailDate->text();
    for (int row : selectedRows(*lstInserts))
        if (row < InsertListEntries.size())
            package.inserts << InsertListEntries.at(row);
    return package;
}

void frmCatPkg::LoadInsertList()
{
    lstInserts->clear();
    InsertListEntries.clear();
    if (const auto inserts = attempt([] { return catalogpackage::LoadInsertList(); })) {
        for (const InsertListEntry &insert : *inserts) {
            lstInserts->addItem(insert.insertDescription);
            InsertListEntries << insert;
        }
    }
}

void frmCatPkg::LoadCatalogsAndPackages()
{
    BusyPointer busy;
    InitPackageGrid();
    lstMainCatalogs->clear();
    CatalogListEntries.clear();
    if (const auto catalogs = attempt(&catalogpackage::LoadCatalogList)) {
        for (const CatalogListEntry &catalog : *catalogs) {
            lstMainCatalogs->addItem(catalogItemText(catalog));
            CatalogListEntries << catalog;
        }
    }
    fillGrid(*grdPackages, [](const RowSink &sink) { LoadPackages(sink); });
}

void frmCatPkg::InitPackageGrid()
{
    setupGrid(*grdPackages, packageHeaders(), GridKind::Plain);
    // The designed widths, widened where a header would not read whole.
    const QList<int> &widths = packageColumnWidths();
    QHash<int, int> minimums;
    for (int col = 0; col < widths.size(); ++col) {
        grdPackages->setColWidth(col, widths.at(col));
        minimums.insert(col, widths.at(col));
    }
    fitColumnsToHeaders(*grdPackages, minimums);
}

void frmCatPkg::InitDupesGrid()
{
    setupGrid(*grdDupes, dupesHeaders(), GridKind::Plain);
    fitColumnsToHeaders(*grdDupes);
}

bool frmCatPkg::ValidatePackage()
{
    const QString message = catalogpackage::ValidatePackage(entry());
    if (message.isEmpty())
        return true;
    inform(message);
    return false;
}

bool frmCatPkg::CreatePackage()
{
    const PackageEntry package = entry();
    const auto created = attempt([&package] {
        return catalogpackage::CreatePackage(package, QDateTime::currentDateTime(), gstrUserName);
    });
    if (!created)
        return false;
    setStatusText(QStringLiteral("Package ") + *created + QStringLiteral(" created."));
    return true;
}

void frmCatPkg::ShowPackageContents()
{
    const QString packageID = grdPackages->TextMatrix(grdPackages->Row(), 0);
    const auto items = attempt([&packageID] { return LoadPackageContents(packageID); });
    if (!items)
        return;
    lstPackageContents->clear();
    ContentCatalogIDs.clear();
    m_contentsPackageID = packageID;
    for (const ContentItem &item : *items) {
        lstPackageContents->addItem(item.text);
        ContentCatalogIDs << item.catalogID;
    }
    InitDupesGrid();
    fillGrid(*grdDupes, [&packageID](const RowSink &sink) { LoadDuplicates(packageID, sink); });
}

bool frmCatPkg::DeletePackage()
{
    if (catalogpackage::DeletePackage(grdPackages->TextMatrix(grdPackages->Row(), 0)))
        return true;
    inform(QStringLiteral("There was an error deleting the selected package."));
    return false;
}

QString frmCatPkg::AskExportFileName()
{
    return Dialogs::instance().saveFileName(caption(), QString(), creativeexport::fileFilter());
}

bool frmCatPkg::ExportPackageForCreative()
{
    const QString path = vb::Trim(AskExportFileName());
    if (path.isEmpty()) {
        inform(QStringLiteral("Please select a filename and try again."));
        return false;
    }
    QStringList catalogIDs;
    for (int row : selectedRows(*lstPackageContents))
        if (row < ContentCatalogIDs.size())
            catalogIDs << ContentCatalogIDs.at(row);

    BusyPointer busy;
    setStatusText(QStringLiteral("Writing ") + path + QStringLiteral("..."));
    const QString packageID = m_contentsPackageID;
    std::optional<creativeexport::ExportResult> result;
    watchedRun([&](const std::function<bool()> &recordDone) {
        result = attempt([&] {
            return creativeexport::ExportPackageForCreative(packageID, catalogIDs, path,
                                                            recordDone);
        });
    });
    if (result && result->stopped) {
        // The operator's own Esc: nothing went wrong, and the old file, if any, is as it was.
        setStatusText(QStringLiteral("Export stopped; no file written."));
        return false;
    }
    if (!result || !result->written) {
        setStatusText(QString());
        if (result)
            Dialogs::instance().message(QStringLiteral("The file ") + path +
                                            QStringLiteral(" could not be written.\r") +
                                            result->error,
                                        caption(), Dialogs::Icon::Critical);
        return false;
    }
    setStatusText(
        vb::Format(result->records, QStringLiteral("#,##0")) +
        (result->records == 1 ? QStringLiteral(" product") : QStringLiteral(" products")) +
        QStringLiteral(" written to ") + path + QStringLiteral("."));
    return true;
}

void frmCatPkg::lstMainCatalogs_Click()
{
    const QList<int> rows = selectedRows(*lstMainCatalogs);
    if (!rows.isEmpty() && rows.first() < CatalogListEntries.size())
        txtMailDate->setText(CatalogListEntries.at(rows.first()).mailDate);
}

void frmCatPkg::cmdAdd_Click()
{
    if (!ValidatePackage() || !CreatePackage())
        return;
    txtDescription->clear();
    txtMailDate->clear();
    InitDupesGrid();
    LoadCatalogsAndPackages();
}

void frmCatPkg::cmdDelete_Click()
{
    const int row = grdPackages->Row();
    if (grdPackages->Rows() <= 1 || row < 1) {
        inform(QStringLiteral("Please select a map to be removed from the database."));
        grdPackages->setFocus();
        return;
    }
    if (!ask(deleteQuestion(grdPackages->TextMatrix(row, 1), grdPackages->TextMatrix(row, 2),
                            grdPackages->TextMatrix(row, 3))))
        return;
    if (!DeletePackage())
        return;
    lstPackageContents->clear();
    ContentCatalogIDs.clear();
    m_contentsPackageID.clear();
    txtDescription->clear();
    txtMailDate->clear();
    InitDupesGrid();
    LoadCatalogsAndPackages();
}

void frmCatPkg::cmdSend_Click()
{
    if (grdPackages->Rows() <= 1)
        return;
    if (selectedRows(*lstPackageContents).isEmpty()) {
        inform(QStringLiteral("Please select a package contents to be exported."));
        return;
    }
    ExportPackageForCreative();
}

void frmCatPkg::grdPackages_Click()
{
    if (grdPackages->Row() >= 1)
        ShowPackageContents();
}

#include "mailing/frmCatSched.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "warehouse/Vb.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

using namespace catalogschedule;

namespace {

constexpr int kPanelWidthTwips = 18900;
constexpr int kPanelHeightTwips = 9600;
constexpr int kMinDescriptionColWidthTwips = 2250;
constexpr int kDescriptionColumn = 2;

} // namespace

frmCatSched::frmCatSched(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmCatSched"), caption(), parent)
{
    picContainer = createPanel(kPanelWidthTwips, kPanelHeightTwips);

    cboClubID = named(new QComboBox(picContainer), "cboClubID");
    cboClubID->setEditable(true);
    cboClubID->setInsertPolicy(QComboBox::NoInsert);
    txtCatalogID = newTextBox(picContainer, "txtCatalogID", 25);
    txtDescription = newTextBox(picContainer, "txtDescription", 250);
    txtMapCopyCreative = newTextBox(picContainer, "txtMapCopyCreative", 20);
    txtFstDraftCreative = newTextBox(picContainer, "txtFstDraftCreative", 20);
    txtCatalogReleaseDate = newTextBox(picContainer, "txtCatalogReleaseDate", 20);
    txtAAAddressStartDate = newTextBox(picContainer, "txtAAAddressStartDate", 20);
    txtAAAddressCompleteDate = newTextBox(picContainer, "txtAAAddressCompleteDate", 20);
    txtReplyDate = newTextBox(picContainer, "txtReplyDate", 20);
    txtLabelRunShipDate = newTextBox(picContainer, "txtLabelRunShipDate", 20);
    cmdSave = newButton(picContainer, "cmdSave", QStringLiteral("Save"));
    cmdClear = newButton(picContainer, "cmdClear", QStringLiteral("Clear"));
    grdSchedule = named(new FlexGrid(picContainer), "grdSchedule");

    // Dates in three columns, read down each column in the order of the schedule's milestones.
    auto *layout = new QGridLayout(picContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(120));
    layout->setVerticalSpacing(twips(90));
    const auto place = [&](const char *name, const char *text, QWidget *box, int row, int col,
                           int span = 1) {
        layout->addWidget(newLabel(picContainer, name, QString::fromLatin1(text), box), row, col,
                          Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(box, row, col + 1, 1, span);
    };
    place("lblClubID", "Club ID", cboClubID, 0, 0);
    place("lblCatalogID", "Catalog ID", txtCatalogID, 0, 2);
    place("lblDescription", "Description", txtDescription, 1, 0, 5);
    place("lblMapCopyCreative", "Map Copy Creative", txtMapCopyCreative, 2, 0);
    place("lblFstDraftCreative", "Fst Draft Creative", txtFstDraftCreative, 3, 0);
    place("lblCatalogReleaseDate", "Catalog Release Date", txtCatalogReleaseDate, 4, 0);
    place("lblAAAddressStartDate", "AA Address Start Date", txtAAAddressStartDate, 2, 2);
    place("lblAAAddressCompleteDate", "AA Address Complete Date", txtAAAddressCompleteDate, 3, 2);
    place("lblReplyDate", "Reply Date", txtReplyDate, 2, 4);
    place("lblLabelRunShipDate", "Label Run Ship Date", txtLabelRunShipDate, 3, 4);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClear);
    layout->addLayout(buttons, 4, 4, 1, 2);
    layout->addWidget(grdSchedule, 5, 0, 1, 6);
    layout->setRowStretch(5, 1);
    for (int col : {1, 3, 5})
        layout->setColumnStretch(col, 1);
    for (QWidget *box : {static_cast<QWidget *>(cboClubID), static_cast<QWidget *>(txtCatalogID)})
        box->setMinimumWidth(twips(2400));

    setTabOrder(cboClubID, txtCatalogID);
    setTabOrder(txtCatalogID, txtDescription);
    setTabOrder(txtDescription, txtMapCopyCreative);
    setTabOrder(txtMapCopyCreative, txtFstDraftCreative);
    setTabOrder(txtFstDraftCreative, txtCatalogReleaseDate);
    setTabOrder(txtCatalogReleaseDate, txtAAAddressStartDate);
    setTabOrder(txtAAAddressStartDate, txtAAAddressCompleteDate);
    setTabOrder(txtAAAddressCompleteDate, txtReplyDate);
    setTabOrder(txtReplyDate, txtLabelRunShipDate);
    setTabOrder(txtLabelRunShipDate, cmdSave);
    setTabOrder(cmdSave, cmdClear);
    setTabOrder(cmdClear, grdSchedule);

    connect(cmdSave, &QPushButton::clicked, this, &frmCatSched::cmdSave_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmCatSched::cmdClear_Click);
    connect(grdSchedule, &FlexGrid::cellClicked, this, &frmCatSched::grdSchedule_Click);
    connect(grdSchedule, &FlexGrid::cellDoubleClicked, this, &frmCatSched::grdSchedule_DblClick);
    offerGridFunctions(*grdSchedule);

    ClearEntryFields();
    LoadScheduleGrid();
}

catalogschedule::ScheduleEntry frmCatSched::entry() const
{
    return {cboClubID->currentText(),      txtCatalogID->text(),
            txtDescription->text(),        txtMapCopyCreative->text(),
            txtFstDraftCreative->text(),   txtCatalogReleaseDate->text(),
            txtAAAddressStartDate->text(), txtAAAddressCompleteDate->text(),
            txtReplyDate->text(),          txtLabelRunShipDate->text()};
}

void frmCatSched::LoadClubList()
{
    fillList(*cboClubID, attempt(&catalogschedule::LoadClubList).value_or(QStringList()));
}

void frmCatSched::InitScheduleGrid()
{
    setupGrid(*grdSchedule, gridHeaders(), GridKind::List);
    // Every column wide enough for its header to be read whole; the description takes what is
    // left of the panel's width.
    fitColumnsToHeaders(*grdSchedule);
    int othersTwips = 0;
    for (int col = 0; col < grdSchedule->Cols(); ++col)
        othersTwips += col == kDescriptionColumn ? 0 : grdSchedule->ColWidth(col);
    const int available = toTwips(picContainer->width() - 2 * grdSchedule->frameWidth() -
                                  style()->pixelMetric(QStyle::PM_ScrollBarExtent)) -
                          othersTwips;
    grdSchedule->setColWidth(kDescriptionColumn, std::max(available, kMinDescriptionColWidthTwips));
}

void frmCatSched::LoadScheduleGrid()
{
    BusyPointer busy;
    InitScheduleGrid();
    fillGrid(*grdSchedule, [](const RowSink &sink) {
        for (const ScheduleRow &row : LoadScheduleRows())
            sink(QStringList(row.begin(), row.end()));
    });
}

void frmCatSched::ClearEntryFields()
{
    for (QLineEdit *box : {txtCatalogID, txtDescription, txtMapCopyCreative, txtFstDraftCreative,
                           txtCatalogReleaseDate, txtAAAddressStartDate, txtAAAddressCompleteDate,
                           txtReplyDate, txtLabelRunShipDate})
        box->clear();
    LoadClubList();
}

void frmCatSched::ShowRowInFields(int row)
{
    const auto cell = [this, row](int col) {
        return vb::Trim(grdSchedule->TextMatrix(row, col));
    };
    cboClubID->setCurrentText(cell(0));
    txtCatalogID->setText(cell(1));
    txtDescription->setText(cell(2));
    txtMapCopyCreative->setText(cell(3));
    txtFstDraftCreative->setText(cell(4));
    txtCatalogReleaseDate->setText(cell(5));
    txtAAAddressStartDate->setText(cell(6));
    txtAAAddressCompleteDate->setText(cell(7));
    txtReplyDate->setText(cell(8));
    txtLabelRunShipDate->setText(cell(9));
}

bool frmCatSched::ValidateEntry()
{
    const QString message = catalogschedule::ValidateEntry(entry());
    if (vb::Trim(message).isEmpty())
        return true;
    inform(message);
    return false;
}

bool frmCatSched::SaveScheduleRow()
{
    return attempt([this] { return catalogschedule::SaveScheduleRow(entry()); }) == true;
}

void frmCatSched::cmdSave_Click()
{
    if (ValidateEntry() && SaveScheduleRow()) {
        ClearEntryFields();
        LoadScheduleGrid();
    }
}

void frmCatSched::cmdClear_Click()
{
    ClearEntryFields();
    LoadScheduleGrid();
}

void frmCatSched::grdSchedule_Click()
{
    if (grdSchedule->Row() >= kListFirstDataRow)
        ShowRowInFields(grdSchedule->Row());
}

void frmCatSched::grdSchedule_DblClick()
{
    // A double-click on the header or the hidden row has no schedule row to delete.
    const int row = grdSchedule->Row();
    if (grdSchedule->Rows() <= kListFirstDataRow || row < kListFirstDataRow)
        return;
    const QString club = grdSchedule->TextMatrix(row, 0);
    const QString catalog = grdSchedule->TextMatrix(row, 1);
    if (!ask(deleteQuestion(club, catalog)))
        return;
    if (!attempt([&] { DeleteScheduleRow(club, catalog); }))
        return;
    ClearEntryFields();
    grdSchedule->RemoveItem(row);
}

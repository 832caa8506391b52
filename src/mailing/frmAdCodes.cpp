#include "mailing/frmAdCodes.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <optional>

using namespace adcodes;

namespace {

constexpr int kMarginTwips = 30;
constexpr int kGridGapTwips = 50;
constexpr int kWidthAllowanceTwips = 180;
constexpr int kHeightAllowanceTwips = 900;
constexpr quint32 kFailedRowColor = 0x8080FF; // RGB(255, 128, 128), light red

const char *const kTagProperty = "Tag";

const QString kCheckGridData = QStringLiteral("Check Grid Data");
const QString kSaveGridData = QStringLiteral("Save Grid Data");
const QString kSaved = QStringLiteral("Save operation completed successfully");
const QString kDeletePassword = QStringLiteral("brantoke");
const QString kDateFormat = QStringLiteral("mm/dd/yyyy");

// Selects the first item equal to the trimmed text, else the first item. Media types compare
// without regard to case, as the warehouse compares them.
void SelectComboItem(QComboBox &combo, const QString &text)
{
    const int found = combo.findText(vb::Trim(text), Qt::MatchFixedString);
    if (found >= 0)
        combo.setCurrentIndex(found);
    else
        selectFirstItem(combo);
}

bool blankRow(const FlexGrid &grid, int row)
{
    for (int col = 0; col < grid.Cols(); ++col)
        if (!vb::Trim(grid.TextMatrix(row, col)).isEmpty())
            return false;
    return true;
}

} // namespace

frmAdCodes::frmAdCodes(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmAdCodes"), caption(), parent)
{
    picContain1 = named(new QWidget(this), "picContain1");

    txtSourceCode = newTextBox(picContain1, "txtSourceCode", 10);
    txtCatName = newTextBox(picContain1, "txtCatName", 50);
    txtListDesc = newTextBox(picContain1, "txtListDesc", 150);
    txtListCpm = newTextBox(picContain1, "txtListCpm", 32767);
    txtPkg = newTextBox(picContain1, "txtPkg", 25);
    txtPkgDesc = newTextBox(picContain1, "txtPkgDesc", 150);
    txtPkgCpm = newTextBox(picContain1, "txtPkgCpm", 32767);
    cboMedia = named(new QComboBox(picContain1), "cboMedia");
    txtOffer = newTextBox(picContain1, "txtOffer", 75);
    dtpMailDate = named(new QDateEdit(picContain1), "dtpMailDate");
    dtpMailDate->setCalendarPopup(true);
    dtpMailDate->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    txtQtyMailed = newTextBox(picContain1, "txtQtyMailed", 32767);
    txtTargetResp = newTextBox(picContain1, "txtTargetResp", 32767);
    lblTotalCPM = named(new QLabel(picContain1), "lblTotalCPM");
    cmdSave = newButton(picContain1, "cmdSave", QStringLiteral("Save"));
    cmdCancel = newButton(picContain1, "cmdCancel", QStringLiteral("Cancel"));
    cmdDelete = newButton(picContain1, "cmdDelete", QStringLiteral("Delete"));
    cmdCheckSaveGridData = newButton(picContain1, "cmdCheckSaveGridData", kCheckGridData);

    auto *layout = new QGridLayout(picContain1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(120));
    layout->setVerticalSpacing(twips(60));
    const auto place = [&](const char *text, QWidget *box, int row, int col, int span = 1) {
        layout->addWidget(newLabel(picContain1, nullptr, QString::fromLatin1(text), box), row, col,
                          Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(box, row, col + 1, 1, span);
    };
    place("Source Code", txtSourceCode, 0, 0);
    place("Promotion Name", txtCatName, 0, 2);
    place("Media", cboMedia, 0, 4);
    place("List Description", txtListDesc, 1, 0, 3);
    place("List CPM", txtListCpm, 1, 4);
    place("Package", txtPkg, 2, 0);
    place("Package Description", txtPkgDesc, 2, 2);
    place("Package CPM", txtPkgCpm, 2, 4);
    place("Offer", txtOffer, 3, 0, 3);
    place("Mail Date", dtpMailDate, 3, 4);
    place("Quantity Mailed", txtQtyMailed, 4, 0);
    place("Target Response Rate", txtTargetResp, 4, 2);
    layout->addWidget(lblTotalCPM, 4, 5);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdCheckSaveGridData);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdDelete);
    layout->addLayout(buttons, 5, 0, 1, 6);
    for (int col : {1, 3, 5})
        layout->setColumnStretch(col, 1);

    grdKeymastDisp = named(new FlexGrid(this), "grdKeymastDisp");
    createStatusBar();

    setTabOrder(txtSourceCode, txtCatName);
    setTabOrder(txtCatName, cboMedia);
    setTabOrder(cboMedia, txtListDesc);
    setTabOrder(txtListDesc, txtListCpm);
    setTabOrder(txtListCpm, txtPkg);
    setTabOrder(txtPkg, txtPkgDesc);
    setTabOrder(txtPkgDesc, txtPkgCpm);
    setTabOrder(txtPkgCpm, txtOffer);
    setTabOrder(txtOffer, dtpMailDate);
    setTabOrder(dtpMailDate, txtQtyMailed);
    setTabOrder(txtQtyMailed, txtTargetResp);
    setTabOrder(txtTargetResp, cmdCheckSaveGridData);
    setTabOrder(cmdCheckSaveGridData, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    setTabOrder(cmdCancel, cmdDelete);
    setTabOrder(cmdDelete, grdKeymastDisp);

    txtListCpm->installEventFilter(this);
    txtPkgCpm->installEventFilter(this);
    connect(cmdSave, &QPushButton::clicked, this, &frmAdCodes::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAdCodes::cmdCancel_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmAdCodes::cmdDelete_Click);
    connect(cmdCheckSaveGridData, &QPushButton::clicked, this,
            &frmAdCodes::cmdCheckSaveGridData_Click);
    connect(grdKeymastDisp, &FlexGrid::cellClicked, this, &frmAdCodes::grdKeymastDisp_Click);
    connect(grdKeymastDisp, &FlexGrid::cellDoubleClicked, this,
            &frmAdCodes::grdKeymastDisp_DblClick);
    // Pasting is offered here: the import reads rows pasted from a spreadsheet.
    offerGridFunctions(*grdKeymastDisp, true);

    InitKeyGrid();
    LoadMediaList();
    ClearAdCodeEntry();
    layOut();
}

// The controls follow the window, not a centred panel: the entry panel across the top, the grid
// filling the rest above the status bar.
void frmAdCodes::layOut()
{
    const int panelHeight = picContain1->sizeHint().height();
    const int width = this->width() - twips(kWidthAllowanceTwips);
    picContain1->setGeometry(twips(kMarginTwips), twips(kMarginTwips), qMax(1, width), panelHeight);
    const int gridHeight = height() - panelHeight - twips(kHeightAllowanceTwips);
    grdKeymastDisp->move(twips(kMarginTwips),
                         picContain1->geometry().bottom() + 1 + twips(kGridGapTwips));
    grdKeymastDisp->resize(qMax(1, width), gridHeight >= 1 ? gridHeight : grdKeymastDisp->height());
    if (QStatusBar *bar = statusBar()) {
        const int barHeight = bar->sizeHint().height();
        bar->setGeometry(0, height() - barHeight, this->width(), barHeight);
    }
}

void frmAdCodes::resizeEvent(QResizeEvent *event)
{
    WorkingWindow::resizeEvent(event);
    layOut();
}

bool frmAdCodes::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == txtListCpm)
            RecalcTotalCpm(CpmBox::List);
        else if (watched == txtPkgCpm)
            RecalcTotalCpm(CpmBox::Package);
    }
    return WorkingWindow::eventFilter(watched, event);
}

// ---- entry panel

adcodes::AdCodeEntry frmAdCodes::entry() const
{
    return {txtSourceCode->text(), txtCatName->text(),
            txtListDesc->text(),   txtListCpm->text(),
            txtPkg->text(),        txtPkgDesc->text(),
            txtPkgCpm->text(),     cboMedia->currentText(),
            txtOffer->text(),      vb::FormatDate(dtpMailDate->date(), kDateFormat),
            txtQtyMailed->text(),  txtTargetResp->text()};
}

QString frmAdCodes::totalCpmTag() const { return lblTotalCPM->property(kTagProperty).toString(); }

void frmAdCodes::setTotalCpm(const QString &caption, const QString &tag)
{
    lblTotalCPM->setText(caption);
    lblTotalCPM->setProperty(kTagProperty, tag);
}

void frmAdCodes::setLocked(bool locked) { txtSourceCode->setReadOnly(locked); }

void frmAdCodes::LoadMediaList()
{
    fillList(*cboMedia, attempt(&adcodes::LoadMediaList).value_or(QStringList()));
}

void frmAdCodes::ClearAdCodeEntry()
{
    selectFirstItem(*cboMedia);
    for (QLineEdit *box : {txtSourceCode, txtCatName, txtListDesc, txtPkg, txtPkgDesc, txtOffer})
        clearText(*box);
    dtpMailDate->setDate(QDate::currentDate());
    for (QLineEdit *box : {txtQtyMailed, txtTargetResp, txtPkgCpm, txtListCpm})
        box->setText(QStringLiteral("0"));
    setTotalCpm(QStringLiteral("Total CPM: 0"), QStringLiteral("0"));
    cmdCheckSaveGridData->setText(kCheckGridData);
    grdKeymastDisp->setTag(QStringLiteral("-1"));
    // An empty panel is a new entry, whatever row was clicked before it was cleared.
    setLocked(false);
}

void frmAdCodes::RecalcTotalCpm(CpmBox box)
{
    QLineEdit *own = box == CpmBox::List ? txtListCpm : txtPkgCpm;
    QLineEdit *other = box == CpmBox::List ? txtPkgCpm : txtListCpm;
    const CpmBox otherBox = box == CpmBox::List ? CpmBox::Package : CpmBox::List;
    const TotalCpm total = adcodes::RecalcTotalCpm(own->text(), other->text());
    switch (total.outcome) {
    case TotalCpm::Outcome::Total:
        setTotalCpm(totalCpmCaption(total.total), adcodes::totalCpmTag(total.total));
        break;
    case TotalCpm::Outcome::Cleared:
        setTotalCpm(totalCpmCaption(0), QStringLiteral("0"));
        break;
    case TotalCpm::Outcome::OwnNotNumeric:
        inform(cpmNotNumericMessage(box));
        break;
    case TotalCpm::Outcome::OtherNotNumeric:
        inform(cpmNotNumericMessage(otherBox));
        break;
    }
}

bool frmAdCodes::ValidateAdCode()
{
    const QString message = adcodes::ValidateAdCode(entry());
    if (!vb::IsNumeric(totalCpmTag()))
        lblTotalCPM->setProperty(kTagProperty, QStringLiteral("0"));
    if (message.isEmpty())
        return true;
    inform(message);
    return false;
}

bool frmAdCodes::SaveAdCode()
{
    const bool editing = txtSourceCode->isReadOnly();
    const bool saved =
        attempt([&] {
            return adcodes::SaveAdCode(entry(), editing, gstrUserName, QDate::currentDate());
        }) == true;
    if (saved)
        setStatusText(kSaved);
    return saved;
}

bool frmAdCodes::DeleteAdCode()
{
    if (!adcodes::DeleteAdCode(txtSourceCode->text())) {
        inform(deleteFailedMessage(txtSourceCode->text()));
        return false;
    }
    setStatusText(QStringLiteral("The record was deleted successfully."));
    return true;
}

void frmAdCodes::cmdSave_Click()
{
    if (ValidateAdCode() && SaveAdCode())
        ClearAdCodeEntry();
}

void frmAdCodes::cmdCancel_Click() { ClearAdCodeEntry(); }

void frmAdCodes::cmdDelete_Click()
{
    if (!txtSourceCode->isReadOnly()) {
        inform(QStringLiteral("Please select an item from the search grid to be deleted."));
        return;
    }
    // A clicked row without a source code names no stored code: there is nothing to delete.
    if (vb::Trim(txtSourceCode->text()).isEmpty())
        return;
    if (!ask(deleteQuestion(txtSourceCode->text())))
        return;
    const std::optional<QString> password = Dialogs::instance().inputBox(
        QStringLiteral("In order to delete an item please provide a password."), windowTitle());
    if (!password)
        return;
    if (*password != kDeletePassword) {
        inform(QStringLiteral("The password you have provided is incorrect."));
        return;
    }
    if (DeleteAdCode())
        ClearAdCodeEntry();
}

// ---- grid

void frmAdCodes::InitKeyGrid()
{
    setupGrid(*grdKeymastDisp, gridHeaders(), GridKind::List);
    // The descriptive text columns get room for their usual contents, the rest their headers.
    fitColumnsToHeaders(*grdKeymastDisp,
                        {{1, 1800}, {2, 2700}, {4, 900}, {5, 2700}, {7, 1500}, {8, 2100}});
}

int frmAdCodes::firstDataRow() const
{
    // A paste builds the grid afresh, so only a grid set up here keeps its hidden row.
    return grdKeymastDisp->Rows() > 1 && grdKeymastDisp->RowHeight(1) == 0 ? kListFirstDataRow : 1;
}

void frmAdCodes::SearchAdCodes(int column, const QString &criteria)
{
    std::optional<BusyPointer> busy(std::in_place);
    if (column >= kGridCols) {
        busy.reset();
        inform(QStringLiteral("Please double click on the column to search for the items."));
        return;
    }
    setStatusText(QStringLiteral("Searching..."));
    if (QStatusBar *bar = statusBar())
        bar->repaint();
    // The server reads the whole result before the first row: the window repaints meanwhile, and
    // Esc stops the search, leaving the grid as it was.
    std::optional<QList<QStringList>> rows;
    if (!watchedRun([&](const std::function<bool()> &) {
            rows = adcodes::SearchAdCodes(column, criteria);
        })) {
        setStatusText(QStringLiteral("Search stopped."));
        return;
    }
    if (!rows) {
        busy.reset();
        inform(QStringLiteral("Unforceen error, please contact your administrator."));
        return;
    }
    InitKeyGrid();
    grdKeymastDisp->appendRows(*rows);
    grdKeymastDisp->showAppendedRows();
    setStatusText(QStringLiteral("Last search found: ") + QString::number(rows->size()) +
                  QStringLiteral(" record(s)."));
}

void frmAdCodes::ShowKeyRowInFields(int row)
{
    const auto cell = [this, row](int col) {
        return grdKeymastDisp->TextMatrix(row, col);
    };
    SelectComboItem(*cboMedia, cell(7));
    putText(*txtSourceCode, cell(0));
    putText(*txtCatName, cell(1));
    putText(*txtListDesc, cell(2));
    putText(*txtPkg, cell(4));
    putText(*txtPkgDesc, cell(5));
    putText(*txtOffer, cell(8));
    const QString mailDate = vb::Trim(cell(9));
    dtpMailDate->setDate(vb::IsDate(mailDate) ? vb::ToDate(mailDate) : defaultMailDate());
    txtQtyMailed->setText(cell(10));
    txtPkgCpm->setText(cell(6));
    txtListCpm->setText(cell(3));
    setTotalCpm(QStringLiteral("Total CPM: ") + cell(12), cell(12));
    txtTargetResp->setText(cell(11));
    grdKeymastDisp->setTag(QString::number(row));
}

void frmAdCodes::grdKeymastDisp_Click()
{
    const int row = grdKeymastDisp->Row();
    if (row >= firstDataRow() && row < grdKeymastDisp->Rows()) {
        ShowKeyRowInFields(row);
        setLocked(true);
    }
}

void frmAdCodes::grdKeymastDisp_DblClick()
{
    const int column = grdKeymastDisp->Col();
    const QString header = grdKeymastDisp->TextMatrix(0, column);
    const std::optional<QString> criteria =
        Dialogs::instance().inputBox(QStringLiteral("In order to search by [") + header +
                                         QStringLiteral("], please enter your criteria below..."),
                                     windowTitle());
    if (!criteria || criteria->isEmpty())
        return;
    SearchAdCodes(column, *criteria);
}

void frmAdCodes::cmdCheckSaveGridData_Click()
{
    if (cmdCheckSaveGridData->text() == kCheckGridData) {
        if (grdKeymastDisp->Cols() != kGridCols) {
            inform(QStringLiteral(
                "The number of columns to import does not match the preset parameters."));
        } else if (grdKeymastDisp->Rows() < 2) {
            inform(QStringLiteral("The number of rows to import must be greater or equal to two "
                                  "including the definition row."));
        } else {
            ClearAdCodeEntry();
            cmdCheckSaveGridData->setText(kSaveGridData);
        }
        return;
    }
    if (SaveGridRows()) {
        ClearAdCodeEntry();
        cmdCheckSaveGridData->setText(kCheckGridData);
    }
}

// Each row goes through the entry panel as a click would put it there, is checked silently and,
// when it holds, replaces the stored row of its code. A failing row is coloured and skipped; the
// others are saved regardless, and the failures are listed at the end.
bool frmAdCodes::SaveGridRows()
{
    std::optional<BusyPointer> busy(std::in_place);
    QStringList failures;
    for (int row = firstDataRow(); row < grdKeymastDisp->Rows(); ++row) {
        // The empty line a paste leaves after the last row is no ad code.
        if (blankRow(*grdKeymastDisp, row))
            continue;
        grdKeymastDisp->setRow(row);
        ShowKeyRowInFields(row);
        AdCodeEntry imported = entry();
        QString problem = ValidateImportRow(imported);
        if (problem.isEmpty())
            problem = SaveImportRow(imported, gstrUserName, QDate::currentDate());
        if (!problem.isEmpty()) {
            grdKeymastDisp->setRowsBackColor(row, row, kFailedRowColor);
            failures << QStringLiteral("Row ") + QString::number(row) + QStringLiteral(": ") +
                            problem;
            continue;
        }
        setStatusText(kSaved);
    }
    busy.reset();
    if (!failures.isEmpty())
        inform(QStringLiteral("These rows were not saved and are coloured in the grid:\r") +
               failures.join(QChar(u'\r')) + QChar(u'\r'));
    return true;
}

#include "catalog/frmCatBuild.h"

#include "catalog/NodeKey.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/FlexGridModel.h"
#include "shell/GridSetup.h"
#include "shell/Twips.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

using namespace catalogbuild;

namespace {

constexpr int kPageNumberWidthTwips = 1530;
constexpr int kPageSectionWidthTwips = 3930;
constexpr int kGridHeightTwips = 5400;
constexpr int kFormHeightTwips = 2700;

} // namespace

frmCatBuild::frmCatBuild(QWidget *parent)
    : WorkingWindow(QStringLiteral("frmCatBuild"), caption(), parent)
{
    // The panel is as wide as the page grid: its two columns and its scroll bar.
    const int gridWidth = kPageNumberWidthTwips + kPageSectionWidthTwips +
                          toTwips(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    picContainer = createPanel(gridWidth, kFormHeightTwips + kGridHeightTwips);

    cboClub = named(new QComboBox(picContainer), "cboClub");
    cboCatalogType = named(new QComboBox(picContainer), "cboCatalogType");
    txtCatalogID = named(new QLineEdit(picContainer), "txtCatalogID");
    txtCatalogID->setMaxLength(25);
    txtTestID = named(new QLineEdit(picContainer), "txtTestID");
    txtTestID->setMaxLength(5);
    txtPages = named(new QLineEdit(picContainer), "txtPages");
    txtPages->setMaxLength(5);
    txtPages->setFixedWidth(twips(900));
    scrPages = named(new QScrollBar(Qt::Vertical, picContainer), "scrPages");
    scrPages->setRange(kMinPages, kMaxPages);
    scrPages->setSingleStep(1);
    scrPages->setPageStep(1);
    // The upper arrow adds a page, as on a spin box.
    scrPages->setInvertedAppearance(true);
    scrPages->setInvertedControls(true);
    scrPages->setFixedHeight(txtPages->sizeHint().height());
    cmdSave = newButton(picContainer, "cmdSave", QStringLiteral("Save"));
    grdPageAlloc = named(new FlexGrid(picContainer), "grdPageAlloc");
    grdPageAlloc->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdPageAlloc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    lblClub = newLabel(picContainer, "lblClub", QStringLiteral("Club :"), cboClub);
    lblCatalogType =
        newLabel(picContainer, "lblCatalogType", QStringLiteral("Catalog Type"), cboCatalogType);
    lblID = newLabel(picContainer, "lblID", QStringLiteral("Catalog ID"), txtCatalogID);
    lblTestID = newLabel(picContainer, "lblTestID", QStringLiteral("Test ID :"), txtTestID);
    lblPages = newLabel(picContainer, "lblPages", QStringLiteral("Pages :"), txtPages);
    // In insert mode the test ID goes, but the controls below stay where they are.
    for (QWidget *testID : {static_cast<QWidget *>(lblTestID), static_cast<QWidget *>(txtTestID)}) {
        QSizePolicy policy = testID->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        testID->setSizePolicy(policy);
    }

    auto *layout = new QGridLayout(picContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(twips(120));
    layout->setVerticalSpacing(twips(90));
    layout->addWidget(lblClub, 0, 0);
    layout->addWidget(cboClub, 0, 1);
    layout->addWidget(lblCatalogType, 1, 0);
    layout->addWidget(cboCatalogType, 1, 1);
    layout->addWidget(lblID, 2, 0);
    layout->addWidget(txtCatalogID, 2, 1);
    layout->addWidget(lblTestID, 3, 0);
    layout->addWidget(txtTestID, 3, 1);
    layout->addWidget(lblPages, 4, 0);
    auto *pages = new QHBoxLayout;
    pages->setSpacing(0);
    pages->addWidget(txtPages);
    pages->addWidget(scrPages);
    pages->addStretch();
    pages->addWidget(cmdSave);
    layout->addLayout(pages, 4, 1);
    layout->addWidget(grdPageAlloc, 5, 0, 1, 2);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(1, 1);

    // Floats over the section column of the row clicked; not part of the layout.
    cboPageGenre = named(new QComboBox(picContainer), "cboPageGenre");
    cboPageGenre->setEditable(true);
    cboPageGenre->setInsertPolicy(QComboBox::NoInsert);
    cboPageGenre->setCompleter(nullptr);
    cboPageGenre->hide();

    setTabOrder(cboClub, cboCatalogType);
    setTabOrder(cboCatalogType, txtCatalogID);
    setTabOrder(txtCatalogID, txtTestID);
    setTabOrder(txtTestID, txtPages);
    setTabOrder(txtPages, scrPages);
    setTabOrder(scrPages, cmdSave);
    setTabOrder(cmdSave, grdPageAlloc);

    connect(scrPages, &QScrollBar::valueChanged, this, &frmCatBuild::scrPages_Change);
    connect(txtPages, &QLineEdit::editingFinished, this, &frmCatBuild::txtPages_EditingFinished);
    connect(grdPageAlloc, &FlexGrid::cellClicked, this, &frmCatBuild::grdPageAlloc_Click);
    connect(grdPageAlloc->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &frmCatBuild::hideSectionEditor);
    connect(grdPageAlloc->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &frmCatBuild::hideSectionEditor);
    connect(cboPageGenre, &QComboBox::editTextChanged, this, &frmCatBuild::copySectionToGrid);
    connect(cboPageGenre, &QComboBox::textActivated, this, &frmCatBuild::copySectionToGrid);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { focusChanged(now); });
    connect(cmdSave, &QPushButton::clicked, this, &frmCatBuild::cmdSave_Click);

    setupGrid();
    loadLists();
    connect(cboClub, &QComboBox::currentIndexChanged, this, &frmCatBuild::selectClub);
    connect(cboCatalogType, &QComboBox::currentIndexChanged, this, &frmCatBuild::applyType);
    selectClub(cboClub->currentIndex());
}

void frmCatBuild::loadLists()
{
    BusyPointer busy;
    cboClub->clear();
    cboCatalogType->clear();
    cboPageGenre->clear();
    const bool loaded = attempt([&] {
        m_clubs = LoadClubList();
        cboPageGenre->addItems(LoadSectionList());
    });
    if (!loaded)
        m_clubs.clear();
    for (const ClubTypes &club : std::as_const(m_clubs))
        cboClub->addItem(club.clubID);
    cboClub->setCurrentIndex(m_clubs.isEmpty() ? -1 : 0);
}

void frmCatBuild::selectClub(int index)
{
    {
        const QSignalBlocker blocker(cboCatalogType);
        fillList(*cboCatalogType,
                 index >= 0 && index < m_clubs.size() ? m_clubs.at(index).mapTypes : QStringList());
    }
    applyType();
}

void frmCatBuild::setupGrid()
{
    ::setupGrid(*grdPageAlloc, {QStringLiteral("Page Number"), QStringLiteral("Page Section")},
                GridKind::Plain);
    grdPageAlloc->setColWidth(0, kPageNumberWidthTwips);
    grdPageAlloc->setColWidth(1, kPageSectionWidthTwips);
    grdPageAlloc->setColAlignment(0, FlexGridModel::CenterCenter);
    grdPageAlloc->setColAlignment(1, FlexGridModel::LeftCenter);
}

void frmCatBuild::applyType()
{
    const QString type = cboCatalogType->currentText();
    m_insertMode = isInsertType(type);
    lblID->setText(m_insertMode ? QStringLiteral("Insert Name") : QStringLiteral("Catalog ID"));
    lblTestID->setVisible(!m_insertMode);
    txtTestID->setVisible(!m_insertMode);
    txtCatalogID->clear();
    txtTestID->clear();
    hideSectionEditor();

    QList<MapPage> pages;
    if (!type.isEmpty()) {
        BusyPointer busy;
        pages = attempt([&] {
                    return LoadDefaultMap(cboClub->currentText(), type);
                }).value_or(QList<MapPage>());
    }
    // The page count cannot go beyond its scroll bar: a longer default map is cut, and said so.
    const QString clamped = clampToMaxPages(pages);

    grdPageAlloc->setRows(1);
    for (const MapPage &page : std::as_const(pages))
        grdPageAlloc->appendRow({page.pageNum, page.pageSection});
    txtPages->setText(QString::number(pages.size()));
    {
        const QSignalBlocker blocker(scrPages);
        scrPages->setValue(int(pages.size()));
    }
    if (!clamped.isEmpty())
        Dialogs::instance().message(clamped, caption(), Dialogs::Icon::Information);
}

int frmCatBuild::pageRows() const { return grdPageAlloc->Rows() - 1; }

void frmCatBuild::scrPages_Change(int value)
{
    // Rows follow the scroll bar one page at a time, numbered on from the last, so a jump of
    // several pages (dragging the thumb) still leaves no gap in the numbers.
    while (pageRows() < value)
        grdPageAlloc->appendRow({QString::number(pageRows() + 1), QString()});
    while (pageRows() > value && pageRows() > 0)
        grdPageAlloc->RemoveItem(grdPageAlloc->Rows() - 1);
    txtPages->setText(QString::number(value));
    hideSectionEditor();
}

void frmCatBuild::txtPages_EditingFinished()
{
    const auto pages = catalog::parsePageNumber(txtPages->text());
    if (pages && *pages >= kMinPages && *pages <= kMaxPages && *pages != scrPages->value())
        scrPages->setValue(*pages);
    else
        txtPages->setText(QString::number(scrPages->value()));
}

void frmCatBuild::grdPageAlloc_Click()
{
    if (grdPageAlloc->MouseRow() >= 1 && grdPageAlloc->Row() >= 1)
        showSectionEditor(grdPageAlloc->Row());
}

void frmCatBuild::showSectionEditor(int row)
{
    const QRect cell = grdPageAlloc->cellRect(row, 1);
    if (cell.isEmpty())
        return;
    const QPoint topLeft = grdPageAlloc->viewport()->mapTo(picContainer, cell.topLeft());
    m_sectionRow = -1; // filling the editor must not write into the grid
    cboPageGenre->setGeometry(topLeft.x(), topLeft.y(), cell.width(),
                              std::max(cell.height(), cboPageGenre->sizeHint().height()));
    cboPageGenre->setEditText(grdPageAlloc->TextMatrix(row, 1));
    m_sectionRow = row;
    cboPageGenre->show();
    cboPageGenre->raise();
    cboPageGenre->setFocus(Qt::MouseFocusReason);
    cboPageGenre->lineEdit()->selectAll();
}

void frmCatBuild::hideSectionEditor()
{
    m_sectionRow = -1;
    cboPageGenre->hide();
}

void frmCatBuild::copySectionToGrid(const QString &text)
{
    if (m_sectionRow >= 1 && m_sectionRow < grdPageAlloc->Rows())
        grdPageAlloc->setTextMatrix(m_sectionRow, 1, text);
}

void frmCatBuild::focusChanged(QWidget *now)
{
    if (!cboPageGenre->isVisible() || !now)
        return;
    // The editor's own list takes the focus while it is open.
    QWidget *list = cboPageGenre->view();
    if (now == cboPageGenre || cboPageGenre->isAncestorOf(now) || now == list ||
        list->isAncestorOf(now) || now->window() == list->window())
        return;
    hideSectionEditor();
}

catalogbuild::NewMap frmCatBuild::newMap() const
{
    NewMap map;
    map.insert = m_insertMode;
    map.clubID = cboClub->currentText();
    map.catalogID = txtCatalogID->text();
    map.testID = m_insertMode ? QString() : txtTestID->text();
    for (int row = 1; row < grdPageAlloc->Rows(); ++row)
        map.pages.append({grdPageAlloc->TextMatrix(row, 0), grdPageAlloc->TextMatrix(row, 1)});
    return map;
}

void frmCatBuild::cmdSave_Click()
{
    hideSectionEditor();
    const NewMap map = newMap();
    const auto saved = attempt(
        [&] {
            const QString message = ValidateNewMap(map);
            if (!vb::Trim(message).isEmpty()) {
                inform(message);
                return false;
            }
            BusyPointer busy;
            SaveNewMap(map);
            return true;
        },
        QStringLiteral("The new map was not saved; none of its pages was written.\r"));
    if (saved != true)
        return;
    // The editor builds its tree when it loads, so the new map shows in it.
    openWindow(QStringLiteral("frmCatEdit"));
    closeWindow();
}

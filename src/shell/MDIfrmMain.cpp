#include "shell/MDIfrmMain.h"

#include "shell/BusyPointer.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/ReportedOperation.h"
#include "shell/Twips.h"
#include "shell/WindowPlacement.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Warehouse.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>

MDIfrmMain::MDIfrmMain(WindowRegistry windows, QWidget *parent)
    : QMainWindow(parent)
    , m_windows(std::move(windows))
    , m_mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("MDIfrmMain"));
    setWindowTitle(QStringLiteral("Folvane"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    buildMenus();
    // Which warehouse the operator is writing to, always in sight; the message area stays the
    // windows' own.
    auto *where = new QLabel(warehouse::description(), statusBar());
    where->setObjectName(QStringLiteral("lblWarehouse"));
    statusBar()->addPermanentWidget(where);

    // The designed place and size, used until the operator has placed the window once.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1280, 1024);
    resize(std::min(twips(19200), screen.width()), std::min(twips(13500), screen.height()));
    move(screen.center() - rect().center());
    RestoreWindowPlacement(*this);
}

MDIfrmMain::~MDIfrmMain()
{
    // The children go while the list of loaded windows still exists.
    delete m_mdiArea;
    m_mdiArea = nullptr;
    warehouse::close();
}

QMenu *MDIfrmMain::addMenu(QWidget *parent, const QString &name, const QString &caption)
{
    QMenu *menu = nullptr;
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        menu = bar->addMenu(caption);
    else if (auto *owner = qobject_cast<QMenu *>(parent))
        menu = owner->addMenu(caption);
    else
        menu = new QMenu(caption, this);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction *MDIfrmMain::addItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

QAction *MDIfrmMain::addCommandItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = addItem(menu, name, caption);
    const WindowRegistry::Command *command = m_windows.command(name);
    item->setEnabled(command != nullptr);
    if (command)
        connect(item, &QAction::triggered, this, [this, command] { (*command)(*this); });
    return item;
}

void MDIfrmMain::addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

void MDIfrmMain::addWindowItem(QMenu *menu, const QString &name, const QString &caption,
                               const QString &windowName)
{
    QAction *item = addItem(menu, name, caption);
    // A window the client does not have yet stays out of reach rather than pretending.
    item->setEnabled(m_windows.window(windowName) != nullptr);
    connect(item, &QAction::triggered, this, [this, windowName] { openWindow(windowName); });
}

void MDIfrmMain::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = addMenu(bar, QStringLiteral("mnuFile"), QStringLiteral("&File"));
    addWindowItem(file, QStringLiteral("mnuCreateNewCatalog"), QStringLiteral("Create New Catalog"),
                  QStringLiteral("frmCatBuild"));
    addWindowItem(file, QStringLiteral("mnuEditCatalog"), QStringLiteral("Edit Catalog"),
                  QStringLiteral("frmCatEdit"));
    addWindowItem(file, QStringLiteral("mnuCreateCatalogPackage"),
                  QStringLiteral("Create Catalog Package"), QStringLiteral("frmCatPkg"));
    // A copy of the embedded warehouse; a server has its own backups.
    QAction *backUp =
        addItem(file, QStringLiteral("mnuBackUpWarehouse"), QStringLiteral("Back Up Warehouse..."));
    backUp->setVisible(warehouse::isEmbedded());
    connect(backUp, &QAction::triggered, this, &MDIfrmMain::backUpWarehouse);
    // Prints the window in front, for the windows that print (the page map).
    addCommandItem(file, QStringLiteral("mnuPrint"), QStringLiteral("Print..."))
        ->setShortcut(QKeySequence(QKeySequence::Print));
    addSeparator(file, QStringLiteral("mnuFileLine1"));
    QAction *exit = addItem(file, QStringLiteral("mnuExit"), QStringLiteral("Exit"));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exit, &QAction::triggered, this, &MDIfrmMain::exitApplication);

    addMenu(bar, QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));

    QMenu *tools = addMenu(bar, QStringLiteral("mnuTools"), QStringLiteral("&Tools"));
    QMenu *catalogs = addMenu(tools, QStringLiteral("mnuCatalogMaintenance"),
                              QStringLiteral("Catalog Maintenance"));
    addWindowItem(catalogs, QStringLiteral("mnuMaintainCatalogSchedule"),
                  QStringLiteral("Maintain Catalog Schedule"), QStringLiteral("frmCatSched"));
    addWindowItem(catalogs, QStringLiteral("mnuRecurringProducts"),
                  QStringLiteral("Recurring Products Schedule"),
                  QStringLiteral("frmCatProdSchedule"));
    addSeparator(tools, QStringLiteral("mnuViewLine1"));
    QMenu *products =
        addMenu(tools, QStringLiteral("mnuMaintainProducts"), QStringLiteral("Maintain Products"));
    addWindowItem(products, QStringLiteral("mnuInventoryMaintenance"),
                  QStringLiteral("Inventory Maintenance"), QStringLiteral("frmProdMaint"));
    addWindowItem(products, QStringLiteral("mnuProductDescriptions"),
                  QStringLiteral("Product Descriptions"), QStringLiteral("frmProdDesc"));
    addSeparator(tools, QStringLiteral("mnuViewLine2"));
    QMenu *customers = addMenu(tools, QStringLiteral("mnuCustomerMaintenance"),
                               QStringLiteral("Customer Maintenance"));
    addItem(customers, QStringLiteral("mnuCustomerLookup"), QStringLiteral("Customer Lookup"))
        ->setEnabled(false);
    addItem(customers, QStringLiteral("mnuBillingAccounts"), QStringLiteral("Billing Accounts"))
        ->setEnabled(false);
    addSeparator(tools, QStringLiteral("mnuViewLine3"));
    addWindowItem(tools, QStringLiteral("mnuAdCodesMaintenance"),
                  QStringLiteral("Ad Codes Maintenance"), QStringLiteral("frmAdCodes"));

    QMenu *reports = addMenu(bar, QStringLiteral("mnuReports"), QStringLiteral("&Reports"));
    addWindowItem(reports, QStringLiteral("mnuCatalogPlanSummary"),
                  QStringLiteral("Catalog Plan Summary"), QStringLiteral("frmPlanSummary"));
    addWindowItem(reports, QStringLiteral("mnuCompareVersions"), QStringLiteral("Compare Versions"),
                  QStringLiteral("frmCompareVersions"));
    addWindowItem(reports, QStringLiteral("mnuProductHistory"), QStringLiteral("Product History"),
                  QStringLiteral("frmProductHistory"));
    addWindowItem(reports, QStringLiteral("mnuMailingCost"),
                  QStringLiteral("Mailing Cost and Response"), QStringLiteral("frmMailingCost"));

    QMenu *windows = addMenu(bar, QStringLiteral("mnuWindow"), QStringLiteral("&Window"));
    connect(addItem(windows, QStringLiteral("mnuWindowCascade"), QStringLiteral("Cascade")),
            &QAction::triggered, this, [this] { arrange(Arrangement::Cascade); });
    connect(addItem(windows, QStringLiteral("mnuWindowTileHorizontal"),
                    QStringLiteral("Tile Horizontal")),
            &QAction::triggered, this, [this] { arrange(Arrangement::TileHorizontal); });
    connect(
        addItem(windows, QStringLiteral("mnuWindowTileVertical"), QStringLiteral("Tile Vertical")),
        &QAction::triggered, this, [this] { arrange(Arrangement::TileVertical); });

    QMenu *help = addMenu(bar, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    addWindowItem(help, QStringLiteral("mnuAboutFolvane"), QStringLiteral("About Folvane"),
                  QStringLiteral("frmAbout"));

    // The two hidden menus: never on the menu bar, only popped up by the child windows.
    QMenu *grid =
        addMenu(this, QStringLiteral("mnuGridFunctions"), QStringLiteral("Grid Functions"));
    const std::pair<const char *, const char *> gridItems[] = {
        {"mnuExportGrid", "Export Grid To Excel"},
        {"mnuSearchGrid", "Search Grid For Value"},
        {"mnuClearGridBackColor", "Clear Back Color"}};
    for (const auto &[name, caption] : gridItems) {
        const QString command = QString::fromLatin1(name);
        connect(addItem(grid, command, QString::fromLatin1(caption)), &QAction::triggered, this,
                [this, command] { runGridCommand(command); });
    }
    // The history of the product in the grid's current row, for the lists of products.
    addCommandItem(grid, QStringLiteral("mnuGridProductHistory"), QStringLiteral("Product History"));
    QMenu *paste = addMenu(grid, QStringLiteral("mnuGridPaste"), QStringLiteral("Paste"));
    QMenu *copy = addMenu(grid, QStringLiteral("mnuGridCopy"), QStringLiteral("Copy"));
    const std::tuple<QMenu *, const char *, const char *> subItems[] = {
        {paste, "mnuPasteToGrid", "Paste To Grid"},
        {paste, "mnuPasteToGridCell", "Paste To Grid Cell"},
        {copy, "mnuCopyGrid", "Copy Grid"},
        {copy, "mnuCopyGridCell", "Copy Grid Cell"}};
    for (const auto &[owner, name, caption] : subItems) {
        const QString command = QString::fromLatin1(name);
        connect(addItem(owner, command, QString::fromLatin1(caption)), &QAction::triggered, this,
                [this, command] { runGridCommand(command); });
    }

    QMenu *catalogEdit =
        addMenu(this, QStringLiteral("mnuCtgEdit"), QStringLiteral("Catalog Edit"));
    const std::pair<const char *, const char *> catalogItems[] = {
        {"mnuCtgEditCopyMaps", "Copy Map To New"},
        {"mnuCtgEditDeleteMap", "Delete Map"},
        {"mnuCtgEditCopyCatalog", "Copy Catalog To New Test ID"},
        {"mnuCtgEditAddPage", "Add Page"},
        {"mnuCtgEditRemovePage", "Remove Page"},
        {"mnuCtgEditPageNumSwitch", "Switch Page Numbers"},
        {"mnuCtgEditPageSection", "Edit Page Section"},
        {"mnuCtgEditCopyToFile", "Export Map To File"},
        {"mnuCtgEditPageMap", "View Page Map"},
        {"mnuCtgEditPlanSummary", "Plan Summary"}};
    for (const auto &[name, caption] : catalogItems)
        addCommandItem(catalogEdit, QString::fromLatin1(name), QString::fromLatin1(caption));
}

QAction *MDIfrmMain::menuItem(const QString &name) const { return findChild<QAction *>(name); }

QMenu *MDIfrmMain::menu(const QString &name) const { return findChild<QMenu *>(name); }

QWidget *MDIfrmMain::findWindow(const QString &windowName) const
{
    for (const auto &frame : m_loadOrder)
        if (frame && frame->widget() && frame->widget()->objectName() == windowName)
            return frame->widget();
    return nullptr;
}

QWidget *MDIfrmMain::activeChild() const
{
    const QMdiSubWindow *frame = m_mdiArea->activeSubWindow();
    return frame ? frame->widget() : nullptr;
}

QList<QWidget *> MDIfrmMain::loadedWindows() const
{
    QList<QWidget *> windows;
    for (const auto &frame : m_loadOrder)
        if (frame && frame->widget())
            windows << frame->widget();
    return windows;
}

QWidget *MDIfrmMain::openWindow(const QString &windowName)
{
    BusyPointer busy;
    if (QWidget *existing = findWindow(windowName)) {
        auto *frame = qobject_cast<QMdiSubWindow *>(existing->parentWidget());
        frame->show();
        m_mdiArea->setActiveSubWindow(frame);
        return existing;
    }
    const WindowRegistry::Factory *factory = m_windows.window(windowName);
    if (!factory)
        return nullptr;
    QWidget *window = (*factory)();
    window->setObjectName(windowName);
    QMdiSubWindow *frame = m_mdiArea->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowIcon(windowIcon());
    // A closed window's frame is gone from the list by itself (the pointer turns null); the list
    // is tidied here. Tidying it from the frame's destroyed signal would look at a half-destroyed
    // frame as a QMdiSubWindow, which it no longer is by then.
    m_loadOrder.removeIf([](const QPointer<QMdiSubWindow> &loaded) { return loaded.isNull(); });
    m_loadOrder.append(frame);
    // Working windows fill the main window; the About box keeps its own size.
    if (windowName == QLatin1String("frmAbout"))
        frame->show();
    else
        frame->showMaximized();
    m_mdiArea->setActiveSubWindow(frame);
    return window;
}

void MDIfrmMain::arrange(Arrangement arrangement)
{
    if (arrangement == Arrangement::Cascade) {
        m_mdiArea->cascadeSubWindows();
        return;
    }
    QList<QMdiSubWindow *> frames;
    for (QMdiSubWindow *frame : m_mdiArea->subWindowList())
        if (frame->isVisible() && !frame->isMinimized())
            frames << frame;
    if (frames.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = int(frames.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *frame = frames.at(i);
        frame->showNormal();
        if (arrangement == Arrangement::TileHorizontal) {
            const int height = area.height() / count;
            frame->setGeometry(0, i * height, area.width(), height);
        } else {
            const int width = area.width() / count;
            frame->setGeometry(i * width, 0, width, area.height());
        }
    }
}

bool MDIfrmMain::closeChildrenInLoadOrder()
{
    m_closingChildren = true;
    const auto frames = m_loadOrder;
    for (const auto &frame : frames) {
        if (frame && !frame->close()) {
            m_closingChildren = false;
            return false;
        }
    }
    m_closingChildren = false;
    return true;
}

void MDIfrmMain::exitApplication() { close(); }

void MDIfrmMain::backUpWarehouse()
{
    const QString target = Dialogs::instance().saveFileName(
        QStringLiteral("Back Up Warehouse"), QStringLiteral("Folvane backup.db"),
        QStringLiteral("Warehouse files (*.db);;All files (*)"));
    if (target.isEmpty())
        return;
    BusyPointer busy;
    QProgressDialog progress(QStringLiteral("Backing up the warehouse..."), QString(), 0, 0, this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const bool copied = reportingFailure(windowTitle(), [&] {
        warehouse::backUpEmbedded(target, [&progress](int pages, int total) {
            progress.setMaximum(total);
            progress.setValue(pages);
        });
    });
    progress.reset();
    if (!copied)
        return;
    statusBar()->showMessage(QStringLiteral("Warehouse backed up to ") +
                             QDir::toNativeSeparators(target));
}

void MDIfrmMain::closeEvent(QCloseEvent *event)
{
    if (!closeChildrenInLoadOrder()) {
        event->ignore();
        return;
    }
    // A minimised window would store its icon's place.
    if (!isMinimized())
        SaveWindowPlacement(*this);
    event->accept();
}

void MDIfrmMain::popupGridFunctions(FlexGrid &grid, const QPoint &globalPos, bool pasteEnabled)
{
    if (!grid.isEnabled())
        return;
    grid.setFocus(Qt::MouseFocusReason);
    for (const char *name : {"mnuExportGrid", "mnuSearchGrid", "mnuClearGridBackColor",
                             "mnuGridCopy", "mnuCopyGrid", "mnuCopyGridCell"})
        menuItem(QString::fromLatin1(name))->setEnabled(true);
    for (const char *name : {"mnuGridPaste", "mnuPasteToGrid", "mnuPasteToGridCell"})
        menuItem(QString::fromLatin1(name))->setEnabled(pasteEnabled);
    menu(QStringLiteral("mnuGridFunctions"))->popup(globalPos);
}

QWidget *MDIfrmMain::focusedControlOfActiveChild() const
{
    QMdiSubWindow *active = m_mdiArea->activeSubWindow();
    if (!active || !active->widget())
        return nullptr;
    QWidget *focus = active->widget()->focusWidget();
    return focus ? focus : QApplication::focusWidget();
}

void MDIfrmMain::searchGridForValue(FlexGrid &grid)
{
    // A grid of its header alone has nothing to search.
    if (grid.Rows() <= 1)
        return;
    const QString header = grid.TextMatrix(0, grid.Col());
    QMdiSubWindow *active = m_mdiArea->activeSubWindow();
    const QString title = active && active->widget() ? active->widget()->windowTitle() : QString();
    const auto answer =
        Dialogs::instance().inputBox(QStringLiteral("Please enter the search criteria for [") +
                                         header + QStringLiteral("] in the space provided below."),
                                     title);
    if (answer && !answer->trimmed().isEmpty())
        SearchGrid(grid, grid.Col(), answer->trimmed());
}

void MDIfrmMain::runGridCommand(const QString &command)
{
    auto *grid = qobject_cast<FlexGrid *>(focusedControlOfActiveChild());
    if (!grid)
        return;
    static const std::map<QString, void (*)(FlexGrid &)> commands = {
        {QStringLiteral("mnuExportGrid"), &ExportGridToExcel},
        {QStringLiteral("mnuClearGridBackColor"), &ClearGridBackColor},
        {QStringLiteral("mnuPasteToGrid"), &PasteClipboardToGrid},
        {QStringLiteral("mnuPasteToGridCell"), &PasteClipboardToCell},
        {QStringLiteral("mnuCopyGrid"), &CopyGridToClipboard},
        {QStringLiteral("mnuCopyGridCell"), &CopyCellToClipboard}};
    if (command == QLatin1String("mnuSearchGrid"))
        searchGridForValue(*grid);
    else if (const auto found = commands.find(command); found != commands.end())
        found->second(*grid);
}

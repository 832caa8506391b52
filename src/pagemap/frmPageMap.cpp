#include "pagemap/frmPageMap.h"

#include "catalog/MapOperations.h"
#include "catalog/TextLimits.h"
#include "catalog/frmCatEdit.h"
#include "pagemap/frmPageMapPaint.h"
#include "pagemap/frmPageMapView.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/DeferredRefresh.h"
#include "shell/PrinterChoice.h"
#include "shell/WindowHost.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using catalog::MoveResult;
using catalog::NodeKey;
using catalog::PageResult;

namespace {

QString hex(std::uint32_t colour)
{
    return QStringLiteral("#%1").arg(colour, 6, 16, QLatin1Char('0'));
}

QString swatch(std::uint32_t colour, const QString &text)
{
    return QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>"
                          "&nbsp;%2&nbsp;&nbsp; ")
        .arg(hex(colour), text.toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
}

} // namespace

frmPageMap::frmPageMap(const QString &nodeKey, QWidget *parent)
    : WorkingWindow(windowNameFor(nodeKey), QStringLiteral("Page Map - "), parent)
    , m_mapKey(catalog::mapKeyOf(NodeKey(nodeKey)))
{
    m_map.map = NodeKey(m_mapKey);

    lblLegend = named(new QLabel(this), "lblLegend");
    lblLegend->setTextFormat(Qt::RichText);
    lblLegend->setWordWrap(true);
    // The legend wraps to the window; it never widens it.
    lblLegend->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblLegend->setMinimumWidth(200);
    const auto button = [this](const char *name, const QString &caption) {
        QPushButton *b = newButton(this, name, caption);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    cmdWholeBook = button("cmdWholeBook", QStringLiteral("Whole Book"));
    cmdTwoPages = button("cmdTwoPages", QStringLiteral("Two Pages"));
    cmdExportPdf = button("cmdExportPdf", QStringLiteral("Export PDF…"));
    cmdPrint = button("cmdPrint", QStringLiteral("Print…"));
    const auto tool = [this](const char *name, const QString &caption, const QString &tip) {
        auto *b = named(new QToolButton(this), name);
        b->setText(caption);
        b->setToolTip(tip);
        b->setAccessibleName(caption);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    cmdUndo = tool("cmdUndo", QStringLiteral("Undo"), QStringLiteral("Undo (Ctrl+Z)"));
    cmdRedo = tool("cmdRedo", QStringLiteral("Redo"), QStringLiteral("Redo (Ctrl+Shift+Z)"));
    cboSignature = named(new QComboBox(this), "cboSignature");
    for (const int size : catalog::kSignatureSizes)
        cboSignature->addItem(QStringLiteral("Signatures of %1").arg(size), size);
    cboSignature->setAccessibleName(QStringLiteral("Signature size"));
    cboSignature->setFocusPolicy(Qt::NoFocus);
    chkSignatures = named(new QCheckBox(QStringLiteral("Show signatures"), this), "chkSignatures");
    chkSignatures->setFocusPolicy(Qt::NoFocus);
    cmdCompare = button("cmdCompare", QStringLiteral("Compare With…"));
    pmvSpreads = named(new frmPageMapView(this), "pmvSpreads");
    pmvSpreads->setAccessibleName(QStringLiteral("Page map"));
    lblCompare = named(new QLabel(this), "lblCompare");
    pmvCompare = named(new frmPageMapView(this), "pmvCompare");
    lblCompare->hide();
    pmvCompare->hide();
    lblSummary = named(new QLabel(this), "lblSummary");
    lblSummary->setFrameShape(QFrame::StyledPanel);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *top = new QHBoxLayout;
    top->addWidget(lblLegend, 1);
    top->addWidget(cmdUndo);
    top->addWidget(cmdRedo);
    top->addWidget(cboSignature);
    top->addWidget(chkSignatures);
    for (QPushButton *b : {cmdCompare, cmdWholeBook, cmdTwoPages, cmdExportPdf, cmdPrint})
        top->addWidget(b);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto *layout = new QVBoxLayout;
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(pmvSpreads, 1);
    layout->addWidget(lblCompare);
    layout->addWidget(pmvCompare, 1);
    layout->addWidget(lblSummary);
    outer->addLayout(layout, 1);
    // Where the moves, undos and exports say what they did.
    outer->addWidget(createStatusBar());

    connect(cmdWholeBook, &QPushButton::clicked, pmvSpreads, &frmPageMapView::showWholeBook);
    // The first spread of two facing pages.
    connect(cmdTwoPages, &QPushButton::clicked, this, [this] { pmvSpreads->showTwoPages(2); });
    connect(cmdExportPdf, &QPushButton::clicked, this, &frmPageMap::ExportPdf);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPageMap::PrintMap);
    connect(pmvSpreads, &frmPageMapView::moveRequested, this, &frmPageMap::MovePlacement);
    connect(pmvSpreads, &frmPageMapView::pagesMoveRequested, this, &frmPageMap::MovePages);
    connect(pmvSpreads, &frmPageMapView::pageOpenRequested, this, &frmPageMap::OpenInEditor);
    connect(pmvSpreads, &frmPageMapView::pageMenuRequested, this,
            [this](int page, const QPoint &at) {
                std::unique_ptr<QMenu> menu(pageMenu(page));
                menu->exec(at);
            });
    // Two maps page against page scroll together.
    connect(pmvSpreads->horizontalScrollBar(), &QScrollBar::valueChanged,
            pmvCompare->horizontalScrollBar(), &QScrollBar::setValue);
    connect(pmvCompare->horizontalScrollBar(), &QScrollBar::valueChanged,
            pmvSpreads->horizontalScrollBar(), &QScrollBar::setValue);
    const std::pair<QKeySequence, void (frmPageMap::*)()> shortcuts[] = {
        {QKeySequence(QKeySequence::Undo), &frmPageMap::Undo},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &frmPageMap::Redo}};
    for (const auto &[keys, slot] : shortcuts) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, slot);
    }
    connect(cmdUndo, &QToolButton::clicked, this, &frmPageMap::Undo);
    connect(cmdRedo, &QToolButton::clicked, this, &frmPageMap::Redo);
    connect(cboSignature, &QComboBox::activated, this,
            [this](int index) { setSignatureSize(cboSignature->itemData(index).toInt()); });
    connect(chkSignatures, &QCheckBox::toggled, this, &frmPageMap::showSignatures);
    connect(cmdCompare, &QPushButton::clicked, this, &frmPageMap::offerComparisons);
    // Changes made anywhere in the catalog core, the editor's included, are seen at once; other
    // clients' too, once a drag or a question of this window is over.
    m_refresh = new DeferredRefresh(
        this, [this] { return pmvSpreads->pressed() || pmvCompare->pressed(); },
        [this] { ReloadMap(); });
    connect(&catalog::MapChanges::instance(), &catalog::MapChanges::changed, this,
            &frmPageMap::mapChanged);

    {
        QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
        settings.beginGroup(QStringLiteral("frmPageMap Display Settings"));
        m_signature = settings.value(signatureSettingsKey(), 4).toInt();
        chkSignatures->setChecked(settings.value(QStringLiteral("ShowSignatures"), false).toBool());
    }
    if (std::find(std::begin(catalog::kSignatureSizes), std::end(catalog::kSignatureSizes),
                  m_signature) == std::end(catalog::kSignatureSizes))
        m_signature = 4;
    cboSignature->setCurrentIndex(cboSignature->findData(m_signature));
    pmvSpreads->setSignatureBands(chkSignatures->isChecked() ? m_signature : 0);
    updateUndoButtons();
    ReloadMap();
}

QString frmPageMap::windowNameFor(const QString &nodeKey)
{
    return kWindowNamePrefix + catalog::mapKeyOf(NodeKey(nodeKey));
}

void frmPageMap::ReloadMap()
{
    BusyPointer busy;
    if (auto map = attempt([&] { return catalog::loadPageMap(NodeKey(m_mapKey)); }))
        m_map = std::move(*map);
    if (!m_otherKey.isEmpty())
        if (auto other = attempt([&] { return catalog::loadPageMap(NodeKey(m_otherKey)); }))
            m_other = std::move(*other);
    showMap();
}

void frmPageMap::showMap()
{
    m_watch.setMaps({m_mapKey, m_otherKey});
    setWindowTitle(QStringLiteral("Page Map - ") + m_map.caption);
    pmvSpreads->setPageMap(&m_map);
    lblLegend->setText(legendHtml());
    const bool comparing = !m_otherKey.isEmpty();
    m_comparison = comparing ? catalog::compareMaps(m_map, m_other) : catalog::MapComparison();
    QSet<int> pages;
    for (const auto &[number, difference] : m_comparison.pages)
        pages.insert(number);
    pmvSpreads->setDifferences(pages, m_comparison.ours);
    if (comparing) {
        pmvCompare->setPageMap(&m_other);
        pmvCompare->setDifferences(pages, m_comparison.theirs);
        lblCompare->setText(QStringLiteral("Below: %1. Pages that differ: %2")
                                .arg(m_other.caption)
                                .arg(pages.size()));
    }
    lblSummary->setText(summaryLine());
}

QString frmPageMap::summaryLine() const
{
    return pagemap::summaryText(m_map.summary()) + QStringLiteral("   |   ") +
           catalog::signatureText(catalog::signatureFit(m_map.extent(), m_signature));
}

QString frmPageMap::legendHtml() const
{
    QString html;
    for (int i = 0; i < m_map.sections.size(); ++i) {
        const QString &section = m_map.sections.at(i);
        html += swatch(catalog::sectionColour(i),
                       section.isEmpty() ? QStringLiteral("(no section)") : section);
    }
    html += QStringLiteral(" | ");
    html += swatch(catalog::fillColour(catalog::Fill::Under), QStringLiteral("under 100"));
    html += swatch(catalog::fillColour(catalog::Fill::Full), QStringLiteral("100"));
    html += swatch(catalog::fillColour(catalog::Fill::Over), QStringLiteral("over 100"));
    return html;
}

void frmPageMap::mapChanged(const QString &mapKey)
{
    if (!mapKey.isEmpty() && mapKey != m_mapKey && (m_otherKey.isEmpty() || mapKey != m_otherKey))
        return;
    if (m_making)
        ++m_heard;
    else
        m_refresh->request();
}

void frmPageMap::follow(bool made, const std::function<bool(catalog::PageMap &)> &takeIn)
{
    // A change made here is announced once; anything more came from elsewhere.
    const bool others = m_heard > (made ? 1 : 0);
    m_heard = 0;
    if (!made && !others)
        return;
    // A map compared with itself is read again on both sides.
    if (!others && takeIn && m_otherKey != m_mapKey) {
        if (attempt([&] { return takeIn(m_map); }).value_or(false)) {
            showMap();
            return;
        }
    }
    ReloadMap();
}

void frmPageMap::MovePlacement(qlonglong itemId, int toPage)
{
    const catalog::MapPage *shownOn = m_map.pageOfPlacement(itemId);
    // The page it was dragged from: a placement another client has moved since is not moved.
    const int fromPage = shownOn ? shownOn->number : -1;
    catalog::PlacementMove move;
    const auto result = making([&] {
        return catalog::movePlacement(NodeKey(m_mapKey), itemId, fromPage, toPage,
                                      QDateTime::currentDateTime(), gstrUserName, &move);
    });
    if (!result) {
        // The database refused: the map is shown as it is stored.
        ReloadMap();
        return;
    }
    follow(result == MoveResult::Moved, [&move](catalog::PageMap &map) {
        return catalog::takeInPlacementMove(map, move.itemId, move.fromPage, move.toPage,
                                            move.toPosition);
    });
    switch (*result) {
    case MoveResult::Moved:
        done(move, QStringLiteral("Moved %1 from page %2 to page %3, position %4.")
                       .arg(move.productId)
                       .arg(move.fromPage)
                       .arg(move.toPage)
                       .arg(move.toPosition));
        break;
    case MoveResult::SamePage:
        break;
    case MoveResult::AlreadyOnPage:
        inform(QStringLiteral("The product is already on page %1. It has not been moved.")
                   .arg(toPage));
        break;
    case MoveResult::NoSuchPage:
        inform(QStringLiteral("Page %1 is not a page of this map.").arg(toPage));
        break;
    case MoveResult::NoSuchPlacement:
        inform(QStringLiteral("The placement is no longer on this map as shown. The map has been "
                              "read again."));
        ReloadMap();
        break;
    }
}

void frmPageMap::done(Change change, const QString &status)
{
    m_undo.push_back(std::move(change));
    // A new change ends what could be made again.
    m_redo.clear();
    updateUndoButtons();
    setStatusText(status);
}

bool frmPageMap::pageOutcome(const std::optional<PageResult> &result, int page,
                             const catalog::PageEdit &edit)
{
    if (!result) {
        // The database refused: the map is shown as it is stored.
        ReloadMap();
        return false;
    }
    switch (*result) {
    case PageResult::Done:
        follow(true, [&edit](catalog::PageMap &map) {
            return catalog::takeInPageEdit(map, edit, false);
        });
        return true;
    case PageResult::Unchanged:
    case PageResult::NotAMap:
        follow(false);
        break;
    case PageResult::NoSuchPage:
        inform(QStringLiteral("Page %1 is no longer on this map. The map has been read again.")
                   .arg(page));
        ReloadMap();
        break;
    case PageResult::OutsideTheBook:
        inform(QStringLiteral("The pages cannot go beyond the first or the last page."));
        follow(false);
        break;
    case PageResult::PlacementsDiffer:
        inform(QStringLiteral("The products on page %1 have changed since. The map has been read "
                              "again; nothing was removed.")
                   .arg(page));
        ReloadMap();
        break;
    case PageResult::Stale:
        follow(false);
        break;
    }
    return false;
}

void frmPageMap::MovePages(int first, int count, int to)
{
    BusyPointer busy;
    catalog::PageEdit edit;
    const auto result =
        making([&] { return catalog::movePages(NodeKey(m_mapKey), first, count, to, &edit); });
    if (pageOutcome(result, first, edit))
        done(edit, QStringLiteral("Moved ") + edit.description().mid(8) + QLatin1Char('.'));
}

void frmPageMap::InsertPage(int page, bool after)
{
    const catalog::MapPage *neighbour = m_map.page(page);
    const QString section = neighbour ? neighbour->section : QString();
    const int at = after ? page + 1 : page;
    BusyPointer busy;
    catalog::PageEdit edit;
    const auto result =
        making([&] { return catalog::insertPage(NodeKey(m_mapKey), at, section, &edit); });
    if (pageOutcome(result, page, edit))
        done(edit, QStringLiteral("Inserted page %1; the pages after it are renumbered.").arg(at));
}

void frmPageMap::RemovePage(int page)
{
    const catalog::MapPage *shown = m_map.page(page);
    const int placements = shown ? int(shown->placements.size()) : 0;
    if (placements > 0 &&
        !Dialogs::instance().question(
            QStringLiteral("Page %1 holds %2 placement%3. Remove the page with %4?")
                .arg(page)
                .arg(placements)
                .arg(placements == 1 ? QString() : QStringLiteral("s"))
                .arg(placements == 1 ? QStringLiteral("it") : QStringLiteral("them")),
            windowTitle()))
        return;
    BusyPointer busy;
    catalog::PageEdit edit;
    const auto result =
        making([&] { return catalog::removePage(NodeKey(m_mapKey), page, placements, &edit); });
    if (pageOutcome(result, page, edit))
        done(edit, QStringLiteral("Removed page %1; the pages after it are renumbered.").arg(page));
}

void frmPageMap::EditPageSection(int page)
{
    const auto answer =
        Dialogs::instance().inputBox(catalog::kPageSectionPrompt, windowTitle(),
                                     m_map.page(page) ? m_map.page(page)->section : QString());
    if (!answer)
        return;
    // The Catalog Edit command's rule and message.
    const QString refusal = catalog::tooLongMessage(QStringLiteral("Page Section"),
                                                    vb::Trim(*answer), catalog::kPageSectionLength);
    if (!refusal.isEmpty()) {
        inform(refusal);
        return;
    }
    BusyPointer busy;
    catalog::PageEdit edit;
    // The Catalog Edit command's own operation, with its checks.
    const NodeKey key(NodeKey::pageKey(m_mapKey, page));
    const auto updated = making([&] { return catalog::editSectionOfPage(key, *answer, &edit); });
    if (!updated) {
        ReloadMap();
        return;
    }
    // Given a section only when the page was there to take it.
    const bool made = *updated && edit.page == page;
    follow(made,
           [&edit](catalog::PageMap &map) { return catalog::takeInPageEdit(map, edit, false); });
    if (!*updated) {
        inform(QStringLiteral("Could not update page section because the specific page was not "
                              "selected."));
        return;
    }
    if (made)
        done(edit, QStringLiteral("Page %1 is now in section %2.").arg(page).arg(edit.section));
}

void frmPageMap::OpenInEditor(int page)
{
    if (auto *editor = qobject_cast<frmCatEdit *>(openWindow(QStringLiteral("frmCatEdit"))))
        editor->SelectNode(NodeKey::pageKey(m_mapKey, page));
}

QMenu *frmPageMap::pageMenu(int page)
{
    auto *menu = named(new QMenu(this), "mnuPage");
    const auto add = [&](const char *name, const QString &text, auto &&run) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    add("mnuPageInsertBefore", QStringLiteral("Insert Page Before"),
        [this, page] { InsertPage(page, false); });
    add("mnuPageInsertAfter", QStringLiteral("Insert Page After"),
        [this, page] { InsertPage(page, true); });
    add("mnuPageRemove", QStringLiteral("Remove Page"), [this, page] { RemovePage(page); });
    add("mnuPageSection", QStringLiteral("Edit Page Section…"),
        [this, page] { EditPageSection(page); });
    menu->addSeparator();
    add("mnuPageOpen", QStringLiteral("Open in Catalog Editor"),
        [this, page] { OpenInEditor(page); });
    const bool stored = m_map.page(page) && m_map.page(page)->stored;
    for (QAction *action : menu->actions())
        if (action->objectName() != QLatin1String("mnuPageOpen"))
            action->setEnabled(stored);
    return menu;
}

void frmPageMap::Undo() { replay(true); }
void frmPageMap::Redo() { replay(false); }

void frmPageMap::replay(bool undo)
{
    std::vector<Change> &from = undo ? m_undo : m_redo;
    std::vector<Change> &to = undo ? m_redo : m_undo;
    if (from.empty())
        return;
    Change change = from.back();
    from.pop_back();
    BusyPointer busy;
    QString status;
    QString refused;
    bool applied = false;
    std::function<bool(catalog::PageMap &)> takeIn;
    const auto now = QDateTime::currentDateTime();
    if (auto *move = std::get_if<catalog::PlacementMove>(&change)) {
        std::optional<MoveResult> result;
        if (undo) {
            int position = 0;
            result = making([&] { return catalog::undoMove(*move, now, gstrUserName, &position); });
            takeIn = [move = *move, position](catalog::PageMap &map) {
                return catalog::takeInPlacementMove(map, move.itemId, move.toPage, move.fromPage,
                                                    position);
            };
            status = QStringLiteral("%1 is back on page %2, position %3%4.")
                         .arg(move->productId)
                         .arg(move->fromPage)
                         .arg(position)
                         .arg(position == move->fromPosition
                                  ? QString()
                                  : QStringLiteral(" (position %1 has been taken since)")
                                        .arg(move->fromPosition));
        } else {
            catalog::PlacementMove again;
            result = making([&] {
                return catalog::movePlacement(move->map, move->itemId, move->fromPage, move->toPage,
                                              now, gstrUserName, &again);
            });
            takeIn = [again](catalog::PageMap &map) {
                return catalog::takeInPlacementMove(map, again.itemId, again.fromPage, again.toPage,
                                                    again.toPosition);
            };
            status = QStringLiteral("Moved %1 to page %2 again, position %3.")
                         .arg(move->productId)
                         .arg(again.toPage)
                         .arg(again.toPosition);
            *move = again;
        }
        applied = result == MoveResult::Moved;
        const QString cannot = QStringLiteral("The move of %1 cannot be %2: ")
                                   .arg(move->productId, undo ? QStringLiteral("undone")
                                                              : QStringLiteral("made again"));
        const int page = undo ? move->fromPage : move->toPage;
        if (result == MoveResult::AlreadyOnPage)
            refused =
                cannot + QStringLiteral("the product has since been placed on page %1.").arg(page);
        else if (result == MoveResult::NoSuchPage)
            refused = cannot + QStringLiteral("page %1 is no longer on the map.").arg(page);
        else if (result && !applied)
            refused = cannot + QStringLiteral("the placement has been changed since.");
    } else {
        auto &edit = std::get<catalog::PageEdit>(change);
        const auto result = making(
            [&] { return undo ? catalog::undoPageEdit(edit) : catalog::redoPageEdit(edit); });
        applied = result == PageResult::Done;
        takeIn = [edit, undo](catalog::PageMap &map) {
            return catalog::takeInPageEdit(map, edit, undo);
        };
        status = (undo ? QStringLiteral("Undone: ") : QStringLiteral("Made again: ")) +
                 edit.description() + QLatin1Char('.');
        refused = QStringLiteral("The %1 cannot be %2: its pages have been changed since. The map "
                                 "has been read again.")
                      .arg(edit.description(),
                           undo ? QStringLiteral("undone") : QStringLiteral("made again"));
        if (!result)
            refused.clear();
    }
    if (applied) {
        follow(true, takeIn);
        to.push_back(std::move(change));
        setStatusText(status);
    } else {
        // No longer applies (or the database refused): not offered again.
        if (!refused.isEmpty())
            inform(refused);
        ReloadMap();
    }
    updateUndoButtons();
}

void frmPageMap::updateUndoButtons()
{
    const auto text = [](const std::vector<Change> &list) -> QString {
        if (list.empty())
            return QString();
        if (const auto *edit = std::get_if<catalog::PageEdit>(&list.back()))
            return QStringLiteral(" the ") + edit->description();
        return QStringLiteral(" the move of ") +
               std::get<catalog::PlacementMove>(list.back()).productId;
    };
    cmdUndo->setEnabled(!m_undo.empty());
    cmdRedo->setEnabled(!m_redo.empty());
    cmdUndo->setToolTip(QStringLiteral("Undo") + text(m_undo) + QStringLiteral(" (Ctrl+Z)"));
    cmdRedo->setToolTip(QStringLiteral("Redo") + text(m_redo) + QStringLiteral(" (Ctrl+Shift+Z)"));
}

// ---- Signatures

QString frmPageMap::signatureSettingsKey() const
{
    // Every version of a catalog goes to the same printer: one size per catalog.
    const NodeKey key(m_mapKey);
    return QStringLiteral("Signature ") +
           (key.isCatalog() ? key.clubId() + QLatin1Char('|') + key.catalogId() : m_mapKey);
}

void frmPageMap::setSignatureSize(int size)
{
    m_signature = size;
    cboSignature->setCurrentIndex(cboSignature->findData(size));
    QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    settings.beginGroup(QStringLiteral("frmPageMap Display Settings"));
    settings.setValue(signatureSettingsKey(), size);
    if (chkSignatures->isChecked())
        pmvSpreads->setSignatureBands(size);
    lblSummary->setText(summaryLine());
}

void frmPageMap::showSignatures(bool show)
{
    if (chkSignatures->isChecked() != show)
        chkSignatures->setChecked(show);
    QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    settings.beginGroup(QStringLiteral("frmPageMap Display Settings"));
    settings.setValue(QStringLiteral("ShowSignatures"), show);
    pmvSpreads->setSignatureBands(show ? m_signature : 0);
}

// ---- Comparing

void frmPageMap::offerComparisons()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuCompare"));
    const auto versions = attempt([&] { return catalog::otherVersions(NodeKey(m_mapKey)); });
    for (const QString &key : versions.value_or(QStringList())) {
        const NodeKey version(key);
        menu.addAction(QStringLiteral("Test ID %1").arg(version.testId()), this,
                       [this, key] { CompareWith(key); });
    }
    menu.addAction(QStringLiteral("Other Map…"), this, [this] {
        const auto answer = Dialogs::instance().inputBox(
            QStringLiteral("Enter the map to compare with: Club, Catalog and Test ID separated by "
                           "commas, or an insert's ID."),
            windowTitle());
        if (!answer || vb::Trim(*answer).isEmpty())
            return;
        const QStringList parts = answer->split(QLatin1Char(','));
        CompareWith(parts.size() == 3
                        ? NodeKey::catalogTestKey(vb::Trim(parts[0]), vb::Trim(parts[1]),
                                                  vb::Trim(parts[2]))
                        : NodeKey::insertKey(vb::Trim(*answer)));
    });
    if (!m_otherKey.isEmpty())
        menu.addAction(QStringLiteral("End Comparison"), this, [this] { CompareWith({}); });
    menu.exec(cmdCompare->mapToGlobal(QPoint(0, cmdCompare->height())));
}

void frmPageMap::CompareWith(const QString &mapKey)
{
    m_otherKey = mapKey;
    m_other = catalog::PageMap();
    const bool comparing = !mapKey.isEmpty();
    if (comparing) {
        BusyPointer busy;
        const auto other = attempt([&] { return catalog::loadPageMap(NodeKey(mapKey)); });
        if (!other) {
            m_otherKey.clear();
            return CompareWith({});
        }
        m_other = std::move(*other);
        if (m_other.pages.empty()) {
            inform(QStringLiteral("That map has no pages to compare with."));
            m_otherKey.clear();
            return CompareWith({});
        }
    }
    lblCompare->setVisible(comparing);
    pmvCompare->setVisible(comparing);
    // Page against page: each map in one row of spreads, scrolled together.
    pmvSpreads->setSingleRow(comparing);
    pmvCompare->setSingleRow(comparing);
    showMap();
    if (comparing) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                const double zoom =
                    std::min(pmvSpreads->twoPageZoom(), pmvCompare->twoPageZoom()) * 0.9;
                pmvSpreads->setZoom(zoom);
                pmvCompare->setZoom(zoom);
                // From the first page, both maps.
                pmvSpreads->horizontalScrollBar()->setValue(0);
                pmvSpreads->verticalScrollBar()->setValue(0);
                pmvCompare->verticalScrollBar()->setValue(0);
            },
            Qt::QueuedConnection);
        setStatusText(QStringLiteral("%1 page(s) differ from %2.")
                          .arg(m_comparison.pages.size())
                          .arg(m_other.caption));
    } else {
        QMetaObject::invokeMethod(
            pmvSpreads, [view = pmvSpreads] { view->showWholeBook(); }, Qt::QueuedConnection);
    }
}

void frmPageMap::showEvent(QShowEvent *event)
{
    WorkingWindow::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        // Once the window has its size: the whole book at a glance.
        QMetaObject::invokeMethod(
            pmvSpreads, [view = pmvSpreads] { view->showWholeBook(); }, Qt::QueuedConnection);
    }
}

// ---- Printing

namespace {

// A line of the list that follows the spreads in print: a page's heading, or one of its products
// that did not fit its tile.
struct RestLine
{
    const catalog::MapPage *page = nullptr;
    const catalog::MapPlacement *placement = nullptr; // nullptr for the heading
};

std::vector<RestLine> productsBeyondTiles(const catalog::PageMap &map)
{
    std::vector<RestLine> lines;
    for (const catalog::MapPage &page : map.pages) {
        const auto shown = std::size_t(pagemap::productsShown(page, pagemap::Detail::Full));
        if (shown >= page.placements.size())
            continue;
        lines.push_back({&page, nullptr});
        for (std::size_t i = shown; i < page.placements.size(); ++i)
            lines.push_back({&page, &page.placements[i]});
    }
    return lines;
}

} // namespace

int frmPageMap::paintDocument(QPagedPaintDevice &device, const catalog::PageMap &map,
                              const QString &caption, const QDate &date)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::TextAntialiasing);
    // A landscape page is kPageWidth book units across; two spreads stand side by side on it.
    constexpr double kPageWidth = 880;
    constexpr double kListTop = 64;
    constexpr int kListColumns = 4;
    constexpr double kColumnGap = 20;
    const double scale = device.width() / kPageWidth;
    const double pageHeight = device.height() / scale;
    const catalog::PageMapSummary summary = map.summary();
    const std::vector<catalog::Spread> spreads = map.spreads();
    const int spreadPages = std::max(1, int((spreads.size() + 1) / 2));

    // The products a tile has no room for follow the spreads, in columns, so that the print holds
    // every product of the map. A page's heading never stands alone at the foot of a column.
    const std::vector<RestLine> rest = productsBeyondTiles(map);
    const int linesPerColumn =
        std::max(2, int((pageHeight - kListTop - 20) / pagemap::kLineHeight) - 1);
    std::vector<int> slots;
    slots.reserve(rest.size());
    for (const RestLine &line : rest) {
        int slot = slots.empty() ? 0 : slots.back() + 1;
        if (!line.placement && slot % linesPerColumn == linesPerColumn - 1)
            ++slot;
        slots.push_back(slot);
    }
    const int linesPerPage = linesPerColumn * kListColumns;
    const int pages = spreadPages + (slots.empty() ? 0 : slots.back() / linesPerPage + 1);

    QFont font;
    const auto header = [&](int page) {
        painter.resetTransform();
        painter.scale(scale, scale);
        font.setPixelSize(16);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(20, 14, 600, 22), Qt::AlignLeft | Qt::AlignVCenter, caption);
        font.setBold(false);
        font.setPixelSize(11);
        painter.setFont(font);
        painter.drawText(QRectF(kPageWidth - 220, 14, 200, 22), Qt::AlignRight | Qt::AlignVCenter,
                         vb::FormatDate(date, QStringLiteral("mm/dd/yyyy")) +
                             QStringLiteral("   page %1 of %2").arg(page + 1).arg(pages));
        // The summary strip as the window shows it, wrapped rather than cut at the page's edge.
        painter.drawText(QRectF(20, 36, kPageWidth - 40, 26),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                         pagemap::summaryText(summary));
    };
    for (int page = 0; page < spreadPages; ++page) {
        if (page > 0)
            device.newPage();
        header(page);
        const double top = std::max(kListTop, (pageHeight - pagemap::kTileHeight) / 2);
        for (int i = 0; i < 2; ++i) {
            const std::size_t index = std::size_t(page * 2 + i);
            if (index >= spreads.size())
                break;
            const QRectF spreadRect(20 + i * (2 * pagemap::kTileWidth + 40), top,
                                    2 * pagemap::kTileWidth, pagemap::kTileHeight);
            pagemap::paintSpread(painter, spreadRect, map, spreads[index], pagemap::PaintState());
        }
    }
    const double columnWidth = (kPageWidth - 40 - (kListColumns - 1) * kColumnGap) / kListColumns;
    int listPage = -1;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int slot = slots[i] % linesPerPage;
        if (slots[i] / linesPerPage != listPage) {
            listPage = slots[i] / linesPerPage;
            device.newPage();
            header(spreadPages + listPage);
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(QRectF(20, kListTop, kPageWidth - 40, pagemap::kLineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Products beyond their page's tile"));
        }
        const QRectF line(20 + (slot / linesPerColumn) * (columnWidth + kColumnGap),
                          kListTop + (slot % linesPerColumn + 1.5) * pagemap::kLineHeight,
                          columnWidth, pagemap::kLineHeight);
        if (rest[i].placement) {
            pagemap::paintProductLine(painter, line, *rest[i].placement, Qt::black);
        } else {
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                             pagemap::pageHeading(*rest[i].page));
        }
    }
    // Ending the painter writes the document's end; a device that failed then wrote nothing whole.
    if (!painter.end())
        return 0;
    return pages;
}

std::optional<QString> frmPageMap::writePdf(const QString &fileName, const catalog::PageMap &map,
                                            const QString &caption, const QDate &date)
{
    // Written under a temporary name and given its own only when whole: a failed write (a full
    // disk, a folder that cannot be written) leaves the file there before as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setTitle(caption);
        writer.setCreator(QStringLiteral("Folvane"));
        writer.setResolution(150);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        pages = paintDocument(writer, map, caption, date);
    }
    if (pages == 0) {
        const QString error = file.error() == QFileDevice::NoError
                                  ? QStringLiteral("The document could not be made.")
                                  : file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

void frmPageMap::ExportPdf()
{
    QString suggested = m_map.caption;
    suggested.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9 _-]")), QStringLiteral("_"));
    const QString fileName = Dialogs::instance().saveFileName(
        QStringLiteral("Export PDF"),
        QStringLiteral("Page Map ") + suggested + QStringLiteral(".pdf"),
        QStringLiteral("PDF files (*.pdf)"));
    if (fileName.isEmpty())
        return;
    BusyPointer busy;
    if (const auto failure = writePdf(fileName, m_map, windowTitle(), QDate::currentDate())) {
        setStatusText(QString());
        Dialogs::instance().message(QStringLiteral("The page map could not be written to ") +
                                        fileName + QStringLiteral(".\r") + *failure,
                                    windowTitle(), Dialogs::Icon::Critical);
        return;
    }
    setStatusText(QStringLiteral("The page map has been written to ") + fileName +
                  QStringLiteral("."));
}

void frmPageMap::PrintMap()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(windowTitle());
    if (!shell::choosePrinter(printer, windowTitle(), this))
        return;
    BusyPointer busy;
    if (paintDocument(printer, m_map, windowTitle(), QDate::currentDate()) == 0)
        Dialogs::instance().message(QStringLiteral("The page map could not be printed."),
                                    windowTitle(), Dialogs::Icon::Critical);
}

#include "reports/frmCompareVersions.h"

#include "catalog/frmCatEdit.h"
#include "pagemap/PageMap.h"
#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/WindowHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>

using catalog::NodeKey;
using reports::ChangeStatus;

namespace {

QComboBox *mapPicker(QWidget *parent, const char *name)
{
    auto *picker = named(new QComboBox(parent), name);
    picker->setEditable(true);
    picker->setInsertPolicy(QComboBox::NoInsert);
    picker->setMinimumContentsLength(30);
    picker->completer()->setFilterMode(Qt::MatchContains);
    picker->completer()->setCompletionMode(QCompleter::PopupCompletion);
    return picker;
}

// The status cell's colour (0x00BBGGRR): green added, red removed, blue moved, yellow repriced.
quint32 statusColour(ChangeStatus status)
{
    switch (status) {
    case ChangeStatus::Added:
        return 0xC0F0C0;
    case ChangeStatus::Removed:
        return 0xC0C0F8;
    case ChangeStatus::Moved:
        return 0xF8D8B0;
    case ChangeStatus::Repriced:
        return 0xA0F0F8;
    case ChangeStatus::Unchanged:
        break;
    }
    return 0xFFFFFF;
}

} // namespace

frmCompareVersions::frmCompareVersions(QWidget *parent)
    : frmReport(QStringLiteral("frmCompareVersions"), QStringLiteral("Compare Versions"), parent)
{
    cboFirst = mapPicker(this, "cboFirst");
    cboSecond = mapPicker(this, "cboSecond");
    chkUnchanged = named(new QCheckBox(QStringLiteral("Show unchanged"), this), "chkUnchanged");
    cmdShow = newButton(this, "cmdShow", QStringLiteral("Compare"));
    pickerRow()->addWidget(newLabel(this, "lblFirst", QStringLiteral("Map:"), cboFirst));
    pickerRow()->addWidget(cboFirst);
    pickerRow()->addWidget(newLabel(this, "lblSecond", QStringLiteral("with:"), cboSecond));
    pickerRow()->addWidget(cboSecond);
    pickerRow()->addWidget(chkUnchanged);
    pickerRow()->addWidget(cmdShow);

    grdCounts = addGrid("grdCounts", QStringLiteral("Counts"));
    grdCounts->setMaximumHeight(52);
    grdChanges = addGrid("grdChanges", QStringLiteral("Products"));
    grdSections = addGrid("grdSections", QStringLiteral("Pages with another section"));
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(grdChanges);
    split->addWidget(grdSections);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    body()->addWidget(grdCounts);
    body()->addWidget(split, 1);

    connect(cmdShow, &QPushButton::clicked, this, &frmCompareVersions::CompareTyped);
    showOnReturn(*cboFirst, [this] {
        if (const reports::MapChoice *choice =
                reports::findMapChoice(m_choices, cboFirst->currentText()))
            firstChosen(choice->key);
        else
            CompareTyped(); // says which text names no map
    });
    showOnReturn(*cboSecond, [this] { CompareTyped(); });
    connect(cboFirst, &QComboBox::activated, this,
            [this](int index) { firstChosen(cboFirst->itemData(index).toString()); });
    connect(cboSecond, &QComboBox::activated, this, [this] { CompareTyped(); });
    connect(chkUnchanged, &QCheckBox::toggled, this, &frmCompareVersions::showComparison);
    for (FlexGrid *grid : {grdChanges, grdSections})
        connect(grid, &FlexGrid::cellDoubleClicked, this,
                [this, grid] { OpenInEditor(*grid, grid->Row(), grid->Col()); });

    setFocusProxy(cboFirst);
    showComparison();
    attempt([this] {
        m_choices = reports::loadMapChoices();
        for (const reports::MapChoice &choice : m_choices) {
            cboFirst->addItem(choice.text, choice.key);
            cboSecond->addItem(choice.text, choice.key);
        }
    });
    cboFirst->setCurrentIndex(-1);
    cboSecond->setCurrentIndex(-1);
    setStatusText(QStringLiteral("Choose two catalog versions or inserts."));
}

void frmCompareVersions::firstChosen(const QString &key)
{
    // The other versions of the catalog first; the second map stays chosen when still listed.
    const QString second = cboSecond->currentData().toString();
    const QString typed = cboSecond->currentText();
    cboSecond->clear();
    for (const reports::MapChoice *choice : reports::comparableChoices(m_choices, key))
        cboSecond->addItem(choice->text, choice->key);
    cboSecond->setCurrentIndex(second.isEmpty() ? -1 : cboSecond->findData(second));
    if (cboSecond->currentIndex() < 0)
        cboSecond->setEditText(second.isEmpty() ? typed : QString());
    cboFirst->setCurrentIndex(cboFirst->findData(key));
    if (cboSecond->currentIndex() >= 0)
        CompareMaps(key, cboSecond->currentData().toString());
    else
        cboSecond->setFocus();
}

void frmCompareVersions::CompareTyped()
{
    const reports::MapChoice *first = reports::findMapChoice(m_choices, cboFirst->currentText());
    const reports::MapChoice *second = reports::findMapChoice(m_choices, cboSecond->currentText());
    for (const auto &[choice, picker] : {std::pair(first, cboFirst), std::pair(second, cboSecond)})
        if (!choice) {
            inform(QStringLiteral("No catalog version or insert is listed as \"") +
                   picker->currentText().trimmed() + QStringLiteral("\"."));
            return;
        }
    CompareMaps(first->key, second->key);
}

void frmCompareVersions::CompareMaps(const QString &firstKey, const QString &secondKey)
{
    const NodeKey first(catalog::mapKeyOf(NodeKey(firstKey)));
    const NodeKey second(catalog::mapKeyOf(NodeKey(secondKey)));
    const auto choose = [](QComboBox *picker, const NodeKey &key) {
        const int index = picker->findData(key.key());
        picker->setCurrentIndex(index);
        if (index < 0)
            picker->setEditText(key.key());
    };
    choose(cboFirst, first);
    choose(cboSecond, second);
    setSubject(cboFirst->currentText() + QStringLiteral(" with ") + cboSecond->currentText());
    readComparison(first, second);
}

void frmCompareVersions::readComparison(const NodeKey &first, const NodeKey &second)
{
    BusyPointer busy;
    reports::VersionComparison comparison;
    const bool read = readReport([&](const reports::RowRead &watch) {
        comparison = reports::compareVersions(first, second, watch);
    });
    m_comparison = read ? std::move(comparison) : reports::VersionComparison();
    const bool shown = showComparison();
    followMaps(read ? QStringList{first.key(), second.key()} : QStringList(),
               [this, first, second] { readComparison(first, second); });
    if (shown && read)
        setStatusText(QStringLiteral("%1 products compared, %2 changed; %3 pages with another "
                                     "section")
                          .arg(m_comparison.products.size())
                          .arg(m_comparison.products.size() -
                               std::size_t(m_comparison.counts[int(ChangeStatus::Unchanged)]))
                          .arg(m_comparison.sections.size()));
}

bool frmCompareVersions::showComparison()
{
    const bool compared = !m_comparison.first.isRoot();
    showRows(*grdCounts, reports::countHeaders(),
             compared ? QList<QStringList>{reports::countRow(m_comparison)} : QList<QStringList>());
    const auto listed = reports::listedChanges(m_comparison, chkUnchanged->isChecked());
    reports::FigureTexts texts;
    const std::size_t shown =
        fillRows(*grdChanges, reports::changeHeaders(), listed.size(),
                 [&](std::size_t i) { return reports::changeRow(*listed[i], texts); });
    std::vector<quint32> colours;
    colours.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i)
        colours.push_back(statusColour(listed[i]->status));
    grdChanges->setColBackColors(0, 1, colours);
    showRows(*grdSections, reports::sectionChangeHeaders(),
             reports::sectionChangeRows(m_comparison));
    if (shown == listed.size())
        return true;
    setStatusText(
        QStringLiteral("Stopped: %1 of %2 products listed.").arg(shown).arg(listed.size()));
    return false;
}

void frmCompareVersions::OpenInEditor(const FlexGrid &grid, int row, int col)
{
    std::optional<int> firstPage;
    std::optional<int> secondPage;
    int secondFrom = 0;
    if (&grid == grdChanges) {
        const auto listed = reports::listedChanges(m_comparison, chkUnchanged->isChecked());
        if (row < 1 || std::size_t(row) > listed.size())
            return;
        const reports::ProductChange &change = *listed[std::size_t(row) - 1];
        if (change.first)
            firstPage = change.first->page;
        if (change.second)
            secondPage = change.second->page;
        secondFrom = reports::kSecondMapColumn;
    } else if (&grid == grdSections) {
        if (row < 1 || std::size_t(row) > m_comparison.sections.size())
            return;
        const reports::SectionChange &change = m_comparison.sections[std::size_t(row) - 1];
        if (change.first)
            firstPage = change.page;
        if (change.second)
            secondPage = change.page;
        secondFrom = 2;
    } else {
        return;
    }
    // The map whose columns were clicked; elsewhere the first map the row has.
    const bool onSecond = secondPage && (!firstPage || col >= secondFrom);
    const NodeKey &map = onSecond ? m_comparison.second : m_comparison.first;
    const int page = onSecond ? *secondPage : *firstPage;
    WindowHost *main = host();
    auto *editor =
        main ? qobject_cast<frmCatEdit *>(main->openWindow(QStringLiteral("frmCatEdit"))) : nullptr;
    // A page with placements but no page row has no node: its map is selected instead.
    if (editor && !editor->SelectNode(NodeKey::pageKey(map.key(), page)))
        editor->SelectNode(map.key());
}

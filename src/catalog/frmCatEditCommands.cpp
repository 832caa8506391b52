// The main window's Catalog Edit commands. They collect and check the operator's input, titled with
// the main window's caption, and leave the work to the catalog editor's map and page operations on
// the node it last had clicked.
#include "catalog/NodeKey.h"
#include "catalog/TextLimits.h"
#include "catalog/frmCatEdit.h"
#include "pagemap/PageMap.h"
#include "pagemap/PageOperations.h"
#include "pagemap/frmPageMap.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/WindowHost.h"
#include "shell/WindowRegistry.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

using catalog::NodeKey;

namespace {

// The main window's own caption. Its title bar also names a maximised child, which the prompts
// and messages do not.
QString caption() { return QStringLiteral("Folvane"); }

void tell(const QString &text) { Dialogs::instance().message(text, caption()); }
// A section the map's column cannot hold is refused here, before the page is touched.
bool sectionFits(const QString &section)
{
    const QString refusal = catalog::tooLongMessage(QStringLiteral("Page Section"),
                                                    vb::Trim(section), catalog::kPageSectionLength);
    if (!refusal.isEmpty())
        tell(refusal);
    return refusal.isEmpty();
}
std::optional<QString> ask(const QString &prompt)
{
    return Dialogs::instance().inputBox(prompt, caption());
}

// The longest new catalog ID the copy command passes on.
constexpr int kMaxNewCatalogIdLength = 26;

void copyMapToNew(frmCatEdit &editor)
{
    const NodeKey key(editor.Tag());
    if (!key.isCatalog()) {
        tell(QStringLiteral("This operation can only be performed on General Catalogs."));
        return;
    }
    const auto answer =
        ask(QStringLiteral("Please enter the NEW Catalog ID to copy the current catalog to."));
    const QString newCatalogId = vb::Trim(answer.value_or(QString()));
    // An empty or over-long ID is passed over without a word.
    if (newCatalogId.isEmpty() || newCatalogId.size() > kMaxNewCatalogIdLength)
        return;
    editor.CreateCopyOfRegCatg(key.clubId(), key.catalogId(), key.testId(), newCatalogId);
}

void copyCatalogToNewTestIds(frmCatEdit &editor)
{
    if (!NodeKey(editor.Tag()).isCatalog()) {
        tell(QStringLiteral("This operation can only be performed on regular catalogs."));
        return;
    }
    const auto answer = ask(QStringLiteral(
        "Please enter Test IDs Separated by a comma to copy the current catalog to."));
    if (answer && !vb::Trim(*answer).isEmpty())
        editor.CopyCatalogTotTestIds(*answer);
}

void deleteMap(frmCatEdit &editor)
{
    if (!Dialogs::instance().question(QStringLiteral("Delete the currently selected map?"),
                                      caption()))
        return;
    const std::optional<bool> deleted = editor.DeleteMap();
    if (deleted)
        tell(*deleted ? QStringLiteral("The map has been removed successfully.")
                      : QStringLiteral("Invalid map specified."));
}

void addPage(frmCatEdit &editor)
{
    const auto answer =
        ask(QStringLiteral("Please enter the page section into the text box below."));
    // An empty section makes a page too; only Cancel adds none.
    if (answer && sectionFits(*answer))
        editor.AddPageToMap(*answer);
}

void switchPageNumbers(frmCatEdit &editor)
{
    const auto answer =
        ask(QStringLiteral("Please provide a page number to copy items to. Thank You."));
    if (!answer)
        return;
    const std::optional<int> page = catalog::parsePageNumber(*answer);
    if (!page) {
        tell(QStringLiteral("Page number can NOT be empty and must be in numeric format"));
        return;
    }
    editor.SwitchPageNumbers(qint16(*page));
}

void askPageSection(frmCatEdit &editor)
{
    const auto answer = ask(catalog::kPageSectionPrompt);
    if (!answer || !sectionFits(*answer))
        return;
    if (editor.EditSectionOfPage(*answer) == std::optional<bool>(false))
        tell(QStringLiteral("Could not update page section because the specific page was not "
                            "selected."));
}

void exportMapToFile(frmCatEdit &editor)
{
    if (auto *grid = editor.findChild<FlexGrid *>(QStringLiteral("grdChosenProducts")))
        ExportGridToExcel(*grid);
}

// The page map of the selected catalog test or insert (of its map, for a page), one window per map.
void viewPageMap(frmCatEdit &editor)
{
    if (catalog::mapKeyOf(NodeKey(editor.Tag())).isEmpty())
        return;
    editor.openWindow(frmPageMap::windowNameFor(editor.Tag()));
}

} // namespace

void catalog::registerCatalogEditCommands(WindowRegistry &registry)
{
    const std::pair<const char *, void (*)(frmCatEdit &)> commands[] = {
        {"mnuCtgEditCopyMaps", &copyMapToNew},
        {"mnuCtgEditDeleteMap", &deleteMap},
        {"mnuCtgEditCopyCatalog", &copyCatalogToNewTestIds},
        {"mnuCtgEditAddPage", &addPage},
        {"mnuCtgEditRemovePage",
         [](frmCatEdit &editor) {
             editor.RemovePageFromMap();
         }},
        {"mnuCtgEditPageNumSwitch", &switchPageNumbers},
        {"mnuCtgEditPageSection", &askPageSection},
        {"mnuCtgEditCopyToFile", &exportMapToFile},
        {"mnuCtgEditPageMap", &viewPageMap}};
    for (const auto &[name, run] : commands) {
        registry.addCommand(QString::fromLatin1(name), [run = run](WindowHost &host) {
            // The editor is created on first use when it is not open.
            if (auto *editor =
                    qobject_cast<frmCatEdit *>(host.openWindow(QStringLiteral("frmCatEdit"))))
                run(*editor);
        });
    }
}

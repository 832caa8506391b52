// The main window's Catalog Edit commands. They collect and check the operator's input here, with
// the main window's caption as title, and leave the work to the catalog editor.
#include "catalog/frmCatEdit.h"
#include "shell/FlexGrid.h"
#include "shell/GridFunctions.h"
#include "shell/MDIfrmMain.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Vb.h"

namespace {

// The node key of the editor's selection, split into its fields.
QStringList selectedKeyFields(const frmCatEdit &editor)
{
    return editor.Tag().split(QLatin1Char('|'));
}

// The main window's own caption. Its title bar also names a maximised child, which the prompts
// and messages do not.
QString caption() { return QStringLiteral("Folvane"); }

// The longest new catalog ID the copy command passes on.
constexpr int kMaxNewCatalogIdLength = 26;

} // namespace

void MDIfrmMain::runCatalogEditCommand(const QString &command)
{
    // The editor is created on first use when it is not open.
    auto *editor = qobject_cast<frmCatEdit *>(openWindow(QStringLiteral("frmCatEdit")));
    if (!editor)
        return;
    if (command == QLatin1String("mnuCtgEditCopyMaps"))
        copyMapToNew(*editor);
    else if (command == QLatin1String("mnuCtgEditCopyCatalog"))
        copyCatalogToNewTestIds(*editor);
    else if (command == QLatin1String("mnuCtgEditDeleteMap"))
        deleteMap(*editor);
    else if (command == QLatin1String("mnuCtgEditAddPage"))
        addPage(*editor);
    else if (command == QLatin1String("mnuCtgEditRemovePage"))
        editor->RemovePageFromMap();
    else if (command == QLatin1String("mnuCtgEditPageNumSwitch"))
        switchPageNumbers(*editor);
    else if (command == QLatin1String("mnuCtgEditPageSection"))
        editPageSection(*editor);
    else if (command == QLatin1String("mnuCtgEditCopyToFile"))
        if (auto *grid = editor->findChild<FlexGrid *>(QStringLiteral("grdChosenProducts")))
            ExportGridToExcel(*grid);
}

void MDIfrmMain::copyMapToNew(frmCatEdit &editor)
{
    const QStringList key = selectedKeyFields(editor);
    if (key.value(0) != QLatin1String("ID")) {
        Dialogs::instance().message(
            QStringLiteral("This operation can only be performed on General Catalogs."),
            caption());
        return;
    }
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please enter the NEW Catalog ID to copy the current catalog to."),
        caption());
    const QString newCatalogId = vb::Trim(answer.value_or(QString()));
    // An empty or over-long ID is passed over without a word.
    if (newCatalogId.isEmpty() || newCatalogId.size() > kMaxNewCatalogIdLength)
        return;
    editor.CreateCopyOfRegCatg(key.value(1), key.value(2), key.value(3), newCatalogId);
}

void MDIfrmMain::copyCatalogToNewTestIds(frmCatEdit &editor)
{
    if (selectedKeyFields(editor).value(0) != QLatin1String("ID")) {
        Dialogs::instance().message(
            QStringLiteral("This operation can only be performed on regular catalogs."),
            caption());
        return;
    }
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please enter Test IDs Separated by a comma to copy the current catalog to."),
        caption());
    if (answer && !vb::Trim(*answer).isEmpty())
        editor.CopyCatalogTotTestIds(*answer);
}

void MDIfrmMain::deleteMap(frmCatEdit &editor)
{
    if (!Dialogs::instance().question(QStringLiteral("Delete the currently selected map?"),
                                      caption()))
        return;
    const std::optional<bool> deleted = editor.DeleteMap();
    if (!deleted)
        return;
    Dialogs::instance().message(*deleted ? QStringLiteral("The map has been removed successfully.")
                                         : QStringLiteral("Invalid map specified."),
                                caption());
}

void MDIfrmMain::addPage(frmCatEdit &editor)
{
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please enter the page section into the text box below."), caption());
    // An empty section makes a page too; only Cancel adds none.
    if (answer)
        editor.AddPageToMap(*answer);
}

void MDIfrmMain::switchPageNumbers(frmCatEdit &editor)
{
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please provide a page number to copy items to. Thank You."), caption());
    if (!answer)
        return;
    const QString text = vb::Trim(*answer);
    // A page number beyond the 16-bit range is refused like any other that is no page number.
    const std::optional<qint16> page =
        !text.isEmpty() && vb::IsNumeric(text) ? vb::ToInteger16(text) : std::nullopt;
    if (!page) {
        Dialogs::instance().message(
            QStringLiteral("Page number can NOT be empty and must be in numeric format"),
            caption());
        return;
    }
    editor.SwitchPageNumbers(*page);
}

void MDIfrmMain::editPageSection(frmCatEdit &editor)
{
    const auto answer = Dialogs::instance().inputBox(
        QStringLiteral("Please enter in the box below the new section name of the page."),
        caption());
    if (!answer)
        return;
    if (editor.EditSectionOfPage(*answer) == std::optional<bool>(false))
        Dialogs::instance().message(QStringLiteral("Could not update page section because the "
                                                   "specific page was not selected."),
                                    caption());
}

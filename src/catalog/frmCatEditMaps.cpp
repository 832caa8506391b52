// The map and page operations the main window's Catalog Edit menu calls on the catalog editor.
#include "catalog/MapOperations.h"
#include "catalog/frmCatEdit.h"
#include "shell/BusyPointer.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"

using namespace catalog;

void frmCatEdit::CreateCopyOfRegCatg(const QString &clubId, const QString &regCatgId,
                                     const QString &regTestId, const QString &regNewCatgId)
{
    BusyPointer busy;
    try {
        switch (copyMapToNewCatalog(clubId, regCatgId, regTestId, regNewCatgId,
                                    QDateTime::currentDateTime(), gstrUserName)) {
        case CopyToNewCatalogResult::NotScheduled:
            Dialogs::instance().message(QStringLiteral("The Catalog you are trying to add does not "
                                                       "exist within the Catalog Schedule."),
                                        windowTitle());
            return;
        case CopyToNewCatalogResult::AlreadyOnRecord:
            Dialogs::instance().message(
                QStringLiteral("The Catalog you are trying to add is already on record."),
                windowTitle());
            return;
        case CopyToNewCatalogResult::Copied:
            break;
        }
    } catch (const DbError &error) {
        showDbError(error.description());
        return;
    }
    ResetEditorAndReloadTree();
}

bool frmCatEdit::CopyCatalogTotTestIds(const QString &testIdString)
{
    BusyPointer busy;
    QString refused;
    bool completed = true;
    try {
        refused = copyMapToTestIds(NodeKey(Tag()), testIdString, QDateTime::currentDateTime(),
                                   gstrUserName);
    } catch (const DbError &error) {
        showDbError(error.description());
        completed = false;
    }
    // Whatever was copied before a failure shows in the rebuilt tree.
    ResetSelectionState();
    LoadCatalogTree();
    if (!refused.trimmed().isEmpty())
        Dialogs::instance().message(refused, windowTitle());
    return completed;
}

std::optional<bool> frmCatEdit::DeleteMap()
{
    BusyPointer busy;
    try {
        if (!deleteMap(NodeKey(Tag())))
            return false;
    } catch (const DbError &error) {
        showDbError(error.description());
        return std::nullopt;
    }
    ResetEditorAndReloadTree();
    return true;
}

bool frmCatEdit::AddPageToMap(const QString &section)
{
    BusyPointer busy;
    try {
        if (!addPageToMap(NodeKey(Tag()), section))
            return false;
    } catch (const DbError &error) {
        showDbError(error.description());
        return false;
    }
    ResetSelectionState();
    LoadCatalogTree();
    return true;
}

bool frmCatEdit::RemovePageFromMap()
{
    BusyPointer busy;
    try {
        if (!removePageFromMap(NodeKey(Tag())))
            return false;
    } catch (const DbError &error) {
        showDbError(error.description());
        return false;
    }
    ResetEditorAndReloadTree();
    return true;
}

std::optional<bool> frmCatEdit::EditSectionOfPage(const QString &newSection)
{
    BusyPointer busy;
    try {
        if (!editSectionOfPage(NodeKey(Tag()), newSection))
            return false;
    } catch (const DbError &error) {
        showDbError(error.description());
        return std::nullopt;
    }
    ResetEditorAndReloadTree();
    return true;
}

void frmCatEdit::SwitchPageNumbers(qint16 newPageNumber)
{
    BusyPointer busy;
    try {
        switch (switchPageNumbers(NodeKey(Tag()), newPageNumber)) {
        case SwitchPagesResult::NotAPage:
            return;
        case SwitchPagesResult::InvalidPage:
            // A plain box with the application's title, as the operator has always seen it.
            Dialogs::instance().message(
                QStringLiteral("You have specified an invalid page number. Please try again."), {},
                Dialogs::Icon::None);
            return;
        case SwitchPagesResult::Switched:
            break;
        }
    } catch (const DbError &error) {
        showDbError(error.description());
        return;
    }
    ResetEditorAndReloadTree();
}

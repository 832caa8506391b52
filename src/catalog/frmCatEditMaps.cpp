// The map and page operations the main window's Catalog Edit menu calls on the catalog editor.
#include "catalog/MapOperations.h"
#include "catalog/frmCatEdit.h"
#include "shell/BusyPointer.h"
#include "shell/basGeneralDeclarations.h"
#include "warehouse/Dialogs.h"

using namespace catalog;

void frmCatEdit::CreateCopyOfRegCatg(const QString &clubId, const QString &regCatgId,
                                     const QString &regTestId, const QString &regNewCatgId)
{
    BusyPointer busy;
    const auto result = attempt([&] {
        return copyMapToNewCatalog(clubId, regCatgId, regTestId, regNewCatgId,
                                   QDateTime::currentDateTime(), gstrUserName);
    });
    if (result == CopyToNewCatalogResult::NotScheduled)
        Dialogs::instance().message(QStringLiteral("The Catalog you are trying to add does not "
                                                   "exist within the Catalog Schedule."),
                                    windowTitle());
    else if (result == CopyToNewCatalogResult::AlreadyOnRecord)
        Dialogs::instance().message(
            QStringLiteral("The Catalog you are trying to add is already on record."),
            windowTitle());
    else if (result == CopyToNewCatalogResult::Copied)
        ResetEditorAndReloadTree();
}

bool frmCatEdit::CopyCatalogTotTestIds(const QString &testIdString)
{
    BusyPointer busy;
    const auto refused = attempt([&] {
        return copyMapToTestIds(NodeKey(Tag()), testIdString, QDateTime::currentDateTime(),
                                gstrUserName);
    });
    // Whatever was copied before a failure shows in the rebuilt tree.
    ResetSelectionState();
    LoadCatalogTree();
    if (refused && !refused->trimmed().isEmpty())
        Dialogs::instance().message(*refused, windowTitle());
    return refused.has_value();
}

std::optional<bool> frmCatEdit::DeleteMap()
{
    BusyPointer busy;
    const auto deleted = attempt([&] { return deleteMap(NodeKey(Tag())); });
    if (deleted == true)
        ResetEditorAndReloadTree();
    return deleted;
}

bool frmCatEdit::AddPageToMap(const QString &section)
{
    BusyPointer busy;
    const auto added = attempt([&] { return addPageToMap(NodeKey(Tag()), section); });
    if (added != true)
        return false;
    ResetSelectionState();
    LoadCatalogTree();
    return true;
}

bool frmCatEdit::RemovePageFromMap()
{
    BusyPointer busy;
    const auto removed = attempt([&] { return removePageFromMap(NodeKey(Tag())); });
    if (removed != true)
        return false;
    ResetEditorAndReloadTree();
    return true;
}

std::optional<bool> frmCatEdit::EditSectionOfPage(const QString &newSection)
{
    BusyPointer busy;
    const auto updated = attempt([&] { return editSectionOfPage(NodeKey(Tag()), newSection); });
    if (updated == true)
        ResetEditorAndReloadTree();
    return updated;
}

void frmCatEdit::SwitchPageNumbers(qint16 newPageNumber)
{
    BusyPointer busy;
    const auto result = attempt([&] { return switchPageNumbers(NodeKey(Tag()), newPageNumber); });
    if (result == SwitchPagesResult::InvalidPage)
        // A plain box with the application's title, as the operator has always seen it.
        Dialogs::instance().message(
            QStringLiteral("You have specified an invalid page number. Please try again."), {},
            Dialogs::Icon::None);
    else if (result == SwitchPagesResult::Switched)
        ResetEditorAndReloadTree();
}

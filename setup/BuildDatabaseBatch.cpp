#include "BuildDatabaseBatch.h"

#include "MakeDbBatch.h"

#include <QDir>

BatchOutcome buildDatabaseBatch(const SetupLogin &typed, const QString &folder,
                                const LoginChecker &check)
{
    const SetupLogin login = typed.trimmed();
    // cmd would split or act on such a value instead of handing it to osql.
    if (const auto field = fieldUnfitForBatch(login))
        return {false, unfitFieldMessage(*field)};
    const LoginCheck checked = check(login);
    switch (checked.state) {
    case LoginCheck::State::Failed:
        return {false, checked.description};
    case LoginCheck::State::NotOpen:
        // No error, but nothing to prove the login by: that is no success either.
        return {false, QLatin1String("The connection to data source ") + login.dataSource +
                           QLatin1String(" did not open.")};
    case LoginCheck::State::Open:
        break;
    }
    if (const auto error = writeMakeDbBatch(folder, makeDbBatchText(login)))
        return {false, *error};
    return {true, QLatin1String("Batch Created Succesfully.\rLocation: ") +
                      QDir::toNativeSeparators(makeDbBatchPath(folder))};
}

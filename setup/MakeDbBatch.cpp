#include "MakeDbBatch.h"

#include <QDir>
#include <QSaveFile>

QString osqlLine(const SetupLogin &login)
{
    QString line = QLatin1String("osql -U") + login.userName + QLatin1String(" -P") +
                   login.password + QLatin1String(" -D") + login.dataSource +
                   QLatin1String(" -i Folvane.sql");
    // A double quote would unbalance the batch line.
    line.remove(QLatin1Char('"'));
    return line;
}

std::optional<QString> fieldUnfitForBatch(const SetupLogin &login)
{
    const auto unfit = [](const QString &value) {
        for (const QChar c : value) {
            if (c.unicode() <= u' ' || c.unicode() > u'~')
                return true;
            if (QStringView(u"&|<>^%").contains(c))
                return true;
        }
        return false;
    };
    const std::pair<const QString &, const char *> fields[] = {
        {login.userName, "SQL User Name"},
        {login.password, "SQL Password"},
        {login.dataSource, "DSN"},
    };
    for (const auto &[value, label] : fields)
        if (unfit(value))
            return QString::fromLatin1(label);
    return std::nullopt;
}

QString unfitFieldMessage(const QString &fieldLabel)
{
    return QLatin1String("The ") + fieldLabel +
           QLatin1String(" can't be written into the batch file: it may not hold blanks, the "
                         "characters & | < > ^ % or characters other than plain ASCII letters, "
                         "digits and signs. No batch was created.");
}

QByteArray makeDbBatchText(const SetupLogin &login)
{
    const QByteArray crlf("\r\n");
    return QByteArray("net start mssql$FOLVANE") + crlf + QByteArray("net start sqlagent$FOLVANE") +
           crlf + osqlLine(login).toUtf8() + crlf;
}

QString makeDbBatchPath(const QString &folder)
{
    return QDir::cleanPath(QDir(folder).absoluteFilePath(QStringLiteral("MakeDB.bat")));
}

std::optional<QString> writeMakeDbBatch(const QString &folder, const QByteArray &text)
{
    QSaveFile file(makeDbBatchPath(folder));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(text) != text.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

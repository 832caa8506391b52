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

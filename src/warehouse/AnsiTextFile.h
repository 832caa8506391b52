#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// A text file the client hands to people outside the database (the creative export, the product
// list), in Windows-1252, the code page their tools read. A character that code page cannot hold
// is written as "?". The file is written under a temporary name and takes its real name only on
// commit(), so a failure never leaves a half-written file or spoils an old one.
//
//     AnsiTextFile file(path);
//     if (!file.open()) return file.errorString();
//     file.write(QStringLiteral("line\r\n"));
//     if (!file.commit()) return file.errorString();
class AnsiTextFile
{
public:
    explicit AnsiTextFile(const QString &path);

    bool open();
    // Text as it stands: line ends are the caller's ("\r\n").
    void write(QStringView text);
    // Writes what is left and gives the file its name; false when anything failed on the way.
    // Under the operator's watch the window gets its turns meanwhile (StatementWatch).
    bool commit();
    QString errorString() const;

private:
    // Appends the Windows-1252 bytes of a text, "?" for what the code page lacks.
    static void appendEncoded(QByteArray &bytes, QStringView text);
    void flush();

    QSaveFile m_file;
    QByteArray m_buffer;
    bool m_failed = false;
    QString m_error;
};

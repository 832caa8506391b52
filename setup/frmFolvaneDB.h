#pragma once

#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

// The set-up tool's one window: a login for a data source, proved before MakeDB.bat is written.
class frmFolvaneDB : public QWidget
{
    Q_OBJECT

public:
    // MakeDB.bat goes into batchFolder: the program's own folder unless a test chooses another.
    explicit frmFolvaneDB(QString batchFolder = QCoreApplication::applicationDirPath(),
                          QWidget *parent = nullptr);

private Q_SLOTS:
    void cmdBuildDatabase_Click();

private:
    // txtBoxes[0] user name, [1] password, [2] data source name.
    std::array<QLineEdit *, 3> txtBoxes = {};
    QPushButton *cmdBuildDatabase = nullptr;
    QString m_batchFolder;
};

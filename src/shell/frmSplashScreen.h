#pragma once

#include <QWidget>

class QLabel;

// The window shown while the client connects to the data warehouse.
class frmSplashScreen : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplashScreen(QWidget *parent = nullptr);

    // Shows a status line in lblComm and repaints at once.
    void setStatus(const QString &text);
    QString status() const;

private:
    QLabel *lblComm;
};

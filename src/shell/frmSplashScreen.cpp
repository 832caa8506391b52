#include "shell/frmSplashScreen.h"

#include "shell/Controls.h"
#include "shell/Twips.h"
#include "shell/basGeneralDeclarations.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

frmSplashScreen::frmSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplashScreen"));
    setWindowTitle(QStringLiteral("Folvane"));
    setFixedSize(twips(7200), twips(4200));
    setAutoFillBackground(true);
    QPalette look = palette();
    look.setColor(QPalette::Window, QColor(0x1f, 0x3a, 0x5f));
    look.setColor(QPalette::WindowText, Qt::white);
    setPalette(look);

    auto *picture = new QLabel(QStringLiteral("Folvane"), this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    QFont big = picture->font();
    big.setPointSize(36);
    big.setBold(true);
    picture->setFont(big);
    picture->setAlignment(Qt::AlignCenter);

    auto *subtitle = new QLabel(QStringLiteral("Catalog planning"), this);
    subtitle->setAlignment(Qt::AlignCenter);

    lblComm = named(new QLabel(this), "lblComm");
    lblComm->setAlignment(Qt::AlignCenter);
    lblComm->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addStretch(2);
    layout->addWidget(picture);
    layout->addWidget(subtitle);
    layout->addStretch(3);
    layout->addWidget(lblComm);
    layout->setContentsMargins(twips(300), twips(300), twips(300), twips(300));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The operator is known from the moment the client starts.
    gstrUserName = logonUserName();
}

void frmSplashScreen::setStatus(const QString &text)
{
    lblComm->setText(text);
    lblComm->repaint();
}

QString frmSplashScreen::status() const { return lblComm->text(); }

#pragma once

#include <QWidget>

// The working windows keep their controls on one panel, `picContainer`, of a fixed designed size,
// centred in the window on every resize and lifted 250 twips above the vertical centre.
class CenteredPanel : public QWidget
{
    Q_OBJECT
public:
    // Creates the panel `picContainer` of the given size (logical pixels) inside this host.
    explicit CenteredPanel(QSize panelSize, QWidget *parent = nullptr);

    QWidget *panel() const { return m_panel; }
    // Where the panel goes in a host of the given size.
    static QPoint panelPosition(QSize host, QSize panel);

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_panel;
};

#include "shell/CenteredPanel.h"

#include "shell/Twips.h"

#include <QResizeEvent>

CenteredPanel::CenteredPanel(QSize panelSize, QWidget *parent)
    : QWidget(parent)
    , m_panel(new QWidget(this))
{
    m_panel->setObjectName(QStringLiteral("picContainer"));
    m_panel->setFixedSize(panelSize);
}

QPoint CenteredPanel::panelPosition(QSize host, QSize panel)
{
    // Never off the top or left edge: a small window shows the panel's corner, not nothing.
    return {std::max(0, host.width() / 2 - panel.width() / 2),
            std::max(0, host.height() / 2 - panel.height() / 2 - twips(250))};
}

QSize CenteredPanel::minimumSizeHint() const { return m_panel->size(); }

void CenteredPanel::resizeEvent(QResizeEvent *event)
{
    m_panel->move(panelPosition(event->size(), m_panel->size()));
    QWidget::resizeEvent(event);
}

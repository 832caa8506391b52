#include "reports/frmProductHistory.h"

#include "shell/BusyPointer.h"
#include "shell/Controls.h"
#include "shell/FlexGrid.h"
#include "shell/WindowHost.h"
#include "warehouse/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

frmProductHistory::frmProductHistory(QWidget *parent)
    : frmReport(QStringLiteral("frmProductHistory"), QStringLiteral("Product History"), parent)
{
    txtProductID = newTextBox(this, "txtProductID", 15);
    cmdShow = newButton(this, "cmdShow", QStringLiteral("Show"));
    lblProductName = newLabel(this, "lblProductName", QString());
    pickerRow()->addWidget(
        newLabel(this, "lblProductID", QStringLiteral("Product ID:"), txtProductID));
    pickerRow()->addWidget(txtProductID);
    pickerRow()->addWidget(cmdShow);
    pickerRow()->addWidget(lblProductName);

    grdPlacements = addGrid("grdPlacements", QStringLiteral("Placements"));
    grdRecommendations = addGrid("grdRecommendations", QStringLiteral("Recommendations"));
    grdRecurring = addGrid("grdRecurring", QStringLiteral("Recurring catalogs"));
    auto *lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(grdRecommendations);
    lower->addWidget(grdRecurring);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(grdPlacements);
    split->addWidget(lower);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 1);
    body()->addWidget(split, 1);
    setFocusProxy(txtProductID);

    const auto show = [this] {
        ShowProduct(txtProductID->text());
    };
    connect(cmdShow, &QPushButton::clicked, this, show);
    connect(txtProductID, &QLineEdit::returnPressed, this, show);
    ShowProduct(QString());
}

void frmProductHistory::ShowProduct(const QString &productId)
{
    putText(*txtProductID, productId.trimmed());
    setSubject(productId.trimmed());
    reports::ProductHistory history;
    bool read = false;
    if (!productId.trimmed().isEmpty()) {
        BusyPointer busy;
        read = readReport([&](const reports::RowRead &watch) {
            history = reports::loadProductHistory(productId, watch);
        });
    }
    m_history = read ? std::move(history) : reports::ProductHistory();
    lblProductName->setText(m_history.productName);
    showRows(*grdPlacements, reports::placementHeaders(), m_history.placements);
    showRows(*grdRecommendations, reports::recommendationHeaders(), m_history.recommendations);
    showRows(*grdRecurring, reports::recurringHeaders(), m_history.recurring);
    if (!read)
        return;
    setSubject(m_history.productId + QLatin1Char(' ') + m_history.productName);
    setStatusText(m_history.productName.isEmpty() && m_history.placements.isEmpty()
                      ? QStringLiteral("No product ") + m_history.productId +
                            QStringLiteral(" is in the inventory or placed on any map.")
                      : QStringLiteral("%1 placements, %2 recommendations, %3 recurring catalogs")
                            .arg(m_history.placements.size())
                            .arg(m_history.recommendations.size())
                            .arg(m_history.recurring.size()));
}

void frmProductHistory::openFromGrid(WindowHost &host)
{
    // The pop-up gave the grid the focus.
    const QWidget *child = host.activeChild();
    auto *grid = qobject_cast<FlexGrid *>(child ? child->focusWidget() : nullptr);
    int column = -1;
    if (grid)
        for (const char *header : {"Product ID", "ProductID", "Product"})
            for (int col = 0; col < grid->Cols() && column < 0; ++col)
                if (grid->TextMatrix(0, col).compare(QLatin1String(header), Qt::CaseInsensitive) ==
                    0)
                    column = col;
    const QString productId =
        grid && column >= 0 && grid->Row() > 0 ? grid->TextMatrix(grid->Row(), column) : QString();
    if (productId.trimmed().isEmpty()) {
        Dialogs::instance().message(
            QStringLiteral("Choose a row of a list of products for its history."));
        return;
    }
    if (auto *window =
            qobject_cast<frmProductHistory *>(host.openWindow(QStringLiteral("frmProductHistory"))))
        window->ShowProduct(productId);
}

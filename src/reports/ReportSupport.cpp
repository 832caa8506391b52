#include "reports/ReportSupport.h"

#include "warehouse/StatementWatch.h"
#include "warehouse/Vb.h"

void reports::rowRead(const RowRead &watch)
{
    if (watch && !watch())
        throw StoppedByOperator();
}

QString reports::moneyText(std::optional<double> amount)
{
    return amount ? vb::Format(*amount, QStringLiteral("$#,##0.00")) : QString();
}

QString reports::countText(double count)
{
    const bool whole = vb::Format(count, QStringLiteral("0.00")).endsWith(QLatin1String(".00"));
    return vb::Format(count, whole ? QStringLiteral("#,##0") : QStringLiteral("#,##0.00"));
}

QString reports::percentText(std::optional<double> share)
{
    return share ? vb::Format(*share, QStringLiteral("#0.00%")) : QString();
}

std::optional<double> reports::ratio(double amount, double divisor)
{
    if (divisor == 0)
        return std::nullopt;
    return amount / divisor;
}

#include "reports/ReportSupport.h"

#include "warehouse/StatementWatch.h"
#include "warehouse/Vb.h"

#include <cmath>

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

namespace {

template <typename Format>
QString remembered(QHash<double, QString> &texts, double value, Format format)
{
    // NaN equals nothing, so it would be stored anew each time.
    if (std::isnan(value))
        return format(value);
    auto found = texts.constFind(value);
    if (found == texts.constEnd())
        found = texts.insert(value, format(value));
    return *found;
}

} // namespace

QString reports::FigureTexts::money(std::optional<double> amount)
{
    if (!amount)
        return QString();
    return remembered(m_money, *amount, [](double value) { return moneyText(value); });
}

QString reports::FigureTexts::count(double count)
{
    return remembered(m_count, count, [](double value) { return countText(value); });
}

QString reports::FigureTexts::number(int number)
{
    // Pages and positions, most of a report's numbers, are small: looked up by place.
    if (number >= 0 && number < kSmallNumbers) {
        if (m_small.empty())
            m_small.resize(kSmallNumbers);
        QString &text = m_small[std::size_t(number)];
        if (text.isNull())
            text = QString::number(number);
        return text;
    }
    auto found = m_numbers.constFind(number);
    if (found == m_numbers.constEnd())
        found = m_numbers.insert(number, QString::number(number));
    return *found;
}

std::optional<double> reports::ratio(double amount, double divisor)
{
    if (divisor == 0)
        return std::nullopt;
    return amount / divisor;
}

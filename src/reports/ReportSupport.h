#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// What the report loaders share: the operator's watch over their reading, and the figures' texts.
namespace reports {

// Told of every row a loader reads; false when the operator has stopped the report, and the
// loader then throws StoppedByOperator. Empty: nobody watches.
using RowRead = std::function<bool()>;
void rowRead(const RowRead &watch);

// "$1,234.50"; empty for no figure.
QString moneyText(std::optional<double> amount);
// "1,234"; "1,234.50" for a figure with decimals (expected responses).
QString countText(double count);
// "12.34%" of a share 0.1234; empty for no figure.
QString percentText(std::optional<double> share);

// The texts above made once per distinct figure: a report's thousands of rows repeat a few prices,
// weights, discounts and page numbers, and formatting each anew was most of a large report's time.
class FigureTexts
{
public:
    QString money(std::optional<double> amount);
    QString count(double count);
    QString number(int number); // "1234"

private:
    static constexpr int kSmallNumbers = 1024;
    std::vector<QString> m_small;
    QHash<int, QString> m_numbers;
    QHash<double, QString> m_money;
    QHash<double, QString> m_count;
};

// A ratio, none when the divisor is zero.
std::optional<double> ratio(double amount, double divisor);

} // namespace reports

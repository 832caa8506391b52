#pragma once

#include "reports/ReportSupport.h"

#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

// Mailing Cost and Response: what the mailings of a mail-date range cost and what they are
// expected to bring, from the ad codes: per catalog name, and within it per list and per package.
// Cost is the quantity mailed times the total CPM over 1,000; expected responses are the quantity
// times the target response rate over 100 (the rate is a percentage).
namespace reports {

struct MailingFigures
{
    double quantity = 0;
    double cost = 0;
    double responses = 0;
    void add(const MailingFigures &other);
    // None when nothing is expected back.
    std::optional<double> costPerResponse() const { return ratio(cost, responses); }
};

struct MailingLine
{
    QString name;
    MailingFigures figures;
};

struct MailingCatalog
{
    QString catalogName;
    MailingFigures figures;
    std::vector<MailingLine> lists;    // by list description
    std::vector<MailingLine> packages; // "CAT32  32-page catalog"
};

struct MailingReport
{
    std::vector<MailingCatalog> catalogs; // by name, without regard to case
    MailingFigures total;
    // Every list of the range over all its catalogs, cheapest per expected response first; lists
    // with nothing expected back are left out.
    std::vector<MailingLine> listsByCostPerResponse;
};

// The ad codes mailed from `from` to `to`, both included; ad codes without a mail date are in no
// range. Throws DbError, or StoppedByOperator when the watch says so.
MailingReport loadMailingReport(const QDate &from, const QDate &to, const RowRead &watch = {});

QStringList mailingHeaders();
QList<QStringList> mailingRows(const MailingReport &report);

} // namespace reports

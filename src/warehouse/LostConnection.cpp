#include "warehouse/LostConnection.h"

#include "warehouse/Warehouse.h"

namespace warehouse {

QString lostNothingSavedText()
{
    return QStringLiteral("The connection to the server was lost and has been made again. Nothing "
                          "of the last action was saved: please do it again.");
}

QString lostMaybeSavedText()
{
    return QStringLiteral("The connection to the server was lost while changes were being saved, "
                          "and has been made again. Whether they were saved is not known: look "
                          "before you make them again.");
}

QString lostNoServerText(const QString &reason, bool maybeSaved)
{
    return QStringLiteral("The connection to the server was lost and cannot be made again now (") +
           // The driver's reason comes in lines and tabs of its own.
           reason.simplified() + QStringLiteral("). ") +
           (maybeSaved ? QStringLiteral("Whether the last changes were saved is not known. ")
                       : QStringLiteral("Nothing of the last action was saved. ")) +
           QStringLiteral("The client connects again by itself when the server is back.");
}

namespace lostconnection {
namespace {

struct Journal
{
    int depth = 0;
    // The server's answer reached the caller, or the operator heard something: a rerun could show
    // it twice.
    bool answered = false;
    // Something may have been kept by the server: a commit or a write outside a transaction was
    // sent, whatever became of it.
    bool maybeSaved = false;
};

thread_local Journal t_journal;
thread_local int t_openTransactions = 0;

bool isRead(const QString &sql)
{
    const QString start = sql.trimmed().left(6);
    return start.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
           start.left(4).compare(QLatin1String("WITH"), Qt::CaseInsensitive) == 0;
}

} // namespace

void statementStarting(const QString &sql)
{
    if (t_openTransactions == 0 && !isRead(sql))
        t_journal.maybeSaved = true;
}

void rowRead() { t_journal.answered = true; }
void transactionBegun() { ++t_openTransactions; }
void transactionEnded() { --t_openTransactions; }
void commitStarting() { t_journal.maybeSaved = true; }
void operatorTold() { t_journal.answered = true; }

OperationScope::OperationScope()
    : m_outermost(t_journal.depth == 0)
{
    if (m_outermost)
        t_journal = Journal{};
    ++t_journal.depth;
}

OperationScope::~OperationScope() { --t_journal.depth; }

bool mayRunAgainAfter(const DbError &error, bool secondRun)
{
    // A transaction still open belongs to code around the operation: connecting again under it
    // would let its later statements commit one by one.
    if (t_openTransactions > 0 || !serverConnectionBroken())
        return false;
    const Journal done = t_journal;
    // Once per operation: a connection lost again is left for the next operation to make.
    if (secondRun)
        throw DbError(error.number(), lostNoServerText(error.description(), done.maybeSaved));
    if (const auto failure = reconnectServer())
        throw DbError(failure->number, lostNoServerText(failure->description, done.maybeSaved));
    if (done.maybeSaved)
        throw DbError(error.number(), lostMaybeSavedText());
    if (done.answered)
        throw DbError(error.number(), lostNothingSavedText());
    return true;
}

} // namespace lostconnection
} // namespace warehouse

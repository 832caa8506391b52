#include "warehouse/ChangeNotices.h"

#include "warehouse/ConnectionLock.h"
#include "warehouse/DbError.h"
#include "warehouse/Query.h"
#include "warehouse/StatementWatch.h"
#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QPointer>
#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QSqlQuery>
#include <QTimer>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <optional>
#include <utility>
#include <vector>

namespace {

// Tells this client's notices from the others' on the server: a client has heard its own in
// process already.
const QString &clientId()
{
    static const QString id =
        QStringLiteral("%1.%2")
            .arg(QCoreApplication::applicationPid())
            .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    return id;
}

// Notices sent inside the writer thread's open transaction, which go with its commit.
struct Pending
{
    bool inTransaction = false;
    std::vector<std::pair<QPointer<ChangeNotices>, QString>> notices;
};
thread_local Pending t_pending;

void notifyServer(const QString &channel, const QString &text)
{
    if (warehouse::isEmbedded() || warehouse::dialect() != Dialect::PostgreSQL)
        return;
    Query(QStringLiteral("SELECT pg_notify(?, ?)"))
        .bind(channel)
        .bind(QString(clientId() + QLatin1Char(' ') + text))
        .execFirst();
}

struct PgConnDeleter
{
    void operator()(PGconn *conn) const { PQfinish(conn); }
};

} // namespace

// Listens on the thread of its notices: the embedded file's data version on a timer, or the
// server's notices on a libpq connection of its own.
class ChangeNotices::Listener : public QObject
{
public:
    explicit Listener(ChangeNotices &owner)
        : m_owner(owner)
    {
        m_timer.setSingleShot(!warehouse::isEmbedded());
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (warehouse::isEmbedded())
                checkEmbedded();
            else
                connectToServer();
        });
        if (warehouse::isEmbedded()) {
            checkEmbedded();
            m_timer.start(kCheckMs);
        } else if (warehouse::dialect() == Dialect::PostgreSQL) {
            connectToServer();
        }
    }

    bool connected() const { return m_conn && m_listening; }

private:
    // ---- The embedded file

    void checkEmbedded()
    {
        sqlite3 *db = warehouse::sqliteHandle();
        if (!db || StatementWatch::active())
            return;
        const ConnectionLock lock(db);
        // Only between the client's own statements: never inside its transaction or a result.
        if (!sqlite3_get_autocommit(db))
            return;
        for (sqlite3_stmt *stmt = sqlite3_next_stmt(db, nullptr); stmt;
             stmt = sqlite3_next_stmt(db, stmt))
            if (sqlite3_stmt_busy(stmt))
                return;
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &stmt, nullptr) != SQLITE_OK)
            return;
        const bool read = sqlite3_step(stmt) == SQLITE_ROW;
        const sqlite3_int64 version = read ? sqlite3_column_int64(stmt, 0) : 0;
        sqlite3_finalize(stmt);
        if (!read)
            return;
        // The version counts other connections' commits on this connection only.
        const bool changed = m_db == db && m_version && *m_version != version;
        m_db = db;
        m_version = version;
        if (changed)
            Q_EMIT m_owner.somethingChanged();
    }

    // ---- The server

    void connectToServer()
    {
        close();
        m_timer.stop();
        if (!m_address && !readAddress()) {
            retryLater();
            return;
        }
        const QByteArray port = QByteArray::number(m_address->port);
        const QByteArray user(warehouse::kUserName);
        const QByteArray password(warehouse::kPassword);
        std::vector<const char *> keys{"port",     "dbname",          "user",
                                       "password", "connect_timeout", "application_name"};
        std::vector<const char *> values{port.constData(),
                                         m_address->database.constData(),
                                         user.constData(),
                                         password.constData(),
                                         "10",
                                         "Folvane notices"};
        // Over the server's own socket when the client reached it so.
        if (!m_address->host.isEmpty()) {
            keys.push_back("host");
            values.push_back(m_address->host.constData());
        }
        keys.push_back(nullptr);
        values.push_back(nullptr);
        m_conn.reset(PQconnectStartParams(keys.data(), values.data(), 0));
        if (!m_conn || PQstatus(m_conn.get()) == CONNECTION_BAD) {
            lost();
            return;
        }
        m_connecting = true;
        advanceConnect(PGRES_POLLING_WRITING);
    }

    // Where the client's own connection reached the server, asked of the server once. Beside
    // Query: this is no step of the operator's work, and a failure is only tried again later.
    bool readAddress()
    {
        QSqlQuery query(gcnWarehouse());
        if (!query.exec(QStringLiteral(
                "SELECT host(inet_server_addr()), current_setting('port'), current_database()")) ||
            !query.next())
            return false;
        m_address = Address{sqlvalue::text(query.value(0)).toUtf8(), query.value(1).toInt(),
                            sqlvalue::text(query.value(2)).toUtf8()};
        query.finish();
        return true;
    }

    void advanceConnect(PostgresPollingStatusType status)
    {
        switch (status) {
        case PGRES_POLLING_READING:
            watch(QSocketNotifier::Read);
            return;
        case PGRES_POLLING_WRITING:
            watch(QSocketNotifier::Write);
            return;
        case PGRES_POLLING_OK:
            startListening();
            return;
        default:
            lost();
            return;
        }
    }

    void startListening()
    {
        m_connecting = false;
        PQsetnonblocking(m_conn.get(), 1);
        const QByteArray channel = m_owner.m_channel.toUtf8();
        char *quoted = PQescapeIdentifier(m_conn.get(), channel.constData(), channel.size());
        const QByteArray listen = QByteArray("LISTEN ") + (quoted ? quoted : "");
        PQfreemem(quoted);
        if (!quoted || !PQsendQuery(m_conn.get(), listen.constData())) {
            lost();
            return;
        }
        flush();
    }

    void flush()
    {
        const int left = PQflush(m_conn.get());
        if (left < 0)
            lost();
        else
            watch(left > 0 ? QSocketNotifier::Write : QSocketNotifier::Read);
    }

    // One notifier for each way; the socket may change while connecting.
    void watch(QSocketNotifier::Type type)
    {
        const qintptr socket = PQsocket(m_conn.get());
        if (!m_read || m_read->socket() != socket) {
            dropNotifiers();
            m_read = new QSocketNotifier(socket, QSocketNotifier::Read, this);
            m_write = new QSocketNotifier(socket, QSocketNotifier::Write, this);
            connect(m_read, &QSocketNotifier::activated, this, [this] {
                if (m_connecting)
                    advanceConnect(PQconnectPoll(m_conn.get()));
                else
                    readNotices();
            });
            connect(m_write, &QSocketNotifier::activated, this, [this] {
                if (m_connecting)
                    advanceConnect(PQconnectPoll(m_conn.get()));
                else
                    flush();
            });
        }
        m_read->setEnabled(type == QSocketNotifier::Read);
        m_write->setEnabled(type == QSocketNotifier::Write);
    }

    // Later: a notifier may be the one whose signal is running.
    void dropNotifiers()
    {
        for (QSocketNotifier *notifier :
             {std::exchange(m_read, nullptr), std::exchange(m_write, nullptr)})
            if (notifier) {
                notifier->setEnabled(false);
                notifier->disconnect(this);
                notifier->deleteLater();
            }
    }

    void readNotices()
    {
        PGconn *conn = m_conn.get();
        if (!PQconsumeInput(conn)) {
            lost();
            return;
        }
        while (!PQisBusy(conn)) {
            PGresult *result = PQgetResult(conn);
            if (!result)
                break;
            const bool listened = PQresultStatus(result) == PGRES_COMMAND_OK;
            PQclear(result);
            if (!listened) {
                lost();
                return;
            }
            if (!std::exchange(m_listening, true) && std::exchange(m_wasLost, false))
                Q_EMIT m_owner.somethingChanged(); // notices may have been missed meanwhile
        }
        // Delivering may run any window's reload: take every notice off the connection first.
        std::vector<QString> payloads;
        while (PGnotify *notice = PQnotifies(conn)) {
            payloads.push_back(QString::fromUtf8(notice->extra));
            PQfreemem(notice);
        }
        if (PQstatus(conn) == CONNECTION_BAD) {
            lost();
            return;
        }
        const QPointer<ChangeNotices> owner(&m_owner);
        for (const QString &payload : payloads)
            if (owner)
                owner->deliver(payload);
    }

    void lost()
    {
        m_wasLost = m_wasLost || m_listening;
        close();
        retryLater();
    }

    void retryLater() { m_timer.start(kReconnectMs); }

public:
    // Stops everything at once; the listener itself is let go later, as a notice it delivered
    // may be what ended the listening.
    void close()
    {
        m_timer.stop();
        dropNotifiers();
        m_conn.reset();
        m_connecting = false;
        m_listening = false;
    }

private:
    struct Address
    {
        QByteArray host; // empty: the server's local socket
        int port = 0;
        QByteArray database;
    };

    ChangeNotices &m_owner;
    QTimer m_timer;
    // The embedded connection and the data version it last read.
    sqlite3 *m_db = nullptr;
    std::optional<sqlite3_int64> m_version;
    // The server's listening connection.
    std::optional<Address> m_address;
    std::unique_ptr<PGconn, PgConnDeleter> m_conn;
    QSocketNotifier *m_read = nullptr;
    QSocketNotifier *m_write = nullptr;
    bool m_connecting = false;
    bool m_listening = false;
    bool m_wasLost = false;
};

ChangeNotices::ChangeNotices(QString channel, QObject *parent)
    : QObject(parent)
    , m_channel(std::move(channel))
{}

ChangeNotices::~ChangeNotices() = default;

void ChangeNotices::send(const QString &text)
{
    if (t_pending.inTransaction) {
        t_pending.notices.emplace_back(this, text);
        return;
    }
    notifyServer(m_channel, text);
    emitSent(text);
}

void ChangeNotices::emitSent(const QString &text) { Q_EMIT sent(text); }

void ChangeNotices::listen()
{
    if (m_listeners++ == 0)
        m_listener = std::make_unique<Listener>(*this);
}

void ChangeNotices::stopListening()
{
    if (m_listeners > 0 && --m_listeners == 0) {
        m_listener->close();
        m_listener.release()->deleteLater();
    }
}

bool ChangeNotices::listening() const { return m_listeners > 0; }

bool ChangeNotices::connected() const { return m_listener && m_listener->connected(); }

void ChangeNotices::deliver(const QString &payload)
{
    const qsizetype space = payload.indexOf(QLatin1Char(' '));
    if (space < 0 || QStringView(payload).left(space) == clientId())
        return;
    Q_EMIT heard(payload.mid(space + 1));
}

void ChangeNotices::transactionBegun()
{
    t_pending.inTransaction = true;
    t_pending.notices.clear();
}

void ChangeNotices::beforeCommit()
{
    for (const auto &[notices, text] : t_pending.notices)
        if (notices)
            notifyServer(notices->m_channel, text);
}

void ChangeNotices::transactionEnded(bool committed)
{
    auto notices = std::exchange(t_pending.notices, {});
    t_pending.inTransaction = false;
    if (committed)
        for (const auto &[target, text] : notices)
            if (target)
                target->emitSent(text);
}

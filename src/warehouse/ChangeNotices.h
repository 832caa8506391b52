#pragma once

#include <QObject>
#include <QString>

#include <memory>

// Short notices of changes between the clients of one warehouse: a write sends a text, and every
// other client that listens hears it.
//
// On the server a notice travels through PostgreSQL's NOTIFY on the channel, sent on the client's
// own connection; the listening is done on a libpq connection of its own, whichever way the
// client's connection goes, watched on the event loop without ever waiting on it, and made again
// quietly when the server goes away. On the embedded file nothing travels: while anyone listens,
// SQLite's data version is checked a few times a second, and only says that another connection
// wrote something (somethingChanged).
//
// A client knows its own notices as they are committed (sent); the other clients' notices come as
// heard. Everything runs on the thread the object lives on (the GUI thread), except send(), which
// runs on the writer's thread and connection.
class ChangeNotices : public QObject
{
    Q_OBJECT
public:
    explicit ChangeNotices(QString channel, QObject *parent = nullptr);
    ~ChangeNotices() override;

    // Sends a notice. Inside a transaction it goes with the commit: to the server just before
    // COMMIT, so a rollback sends nothing, and `sent` after it. Outside one it goes at once.
    // Throws DbError.
    void send(const QString &text);

    // Listening is counted: it starts with the first listener and stops with the last.
    void listen();
    void stopListening();
    bool listening() const;
    // On the server: whether the listening connection is up (for tests).
    bool connected() const;

    // How often the embedded file is checked while anyone listens, and how long a lost server is
    // left before the listening connection is made again.
    static constexpr int kCheckMs = 250;
    static constexpr int kReconnectMs = 3000;

    // Called by Transaction on the writer's thread.
    static void transactionBegun();
    static void beforeCommit(); // throws DbError
    static void transactionEnded(bool committed);

Q_SIGNALS:
    void sent(const QString &text);
    void heard(const QString &text);
    // Another connection wrote to the embedded file, or the server's notices may have been
    // missed while the listening connection was down: anything may have changed.
    void somethingChanged();

private:
    class Listener;
    void deliver(const QString &payload);
    void emitSent(const QString &text);

    QString m_channel;
    int m_listeners = 0;
    std::unique_ptr<Listener> m_listener;
};

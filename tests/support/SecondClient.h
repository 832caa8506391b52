#pragma once

// A second client writing while the first has a question on screen: the write runs on a connection
// of its own in a thread of its own, as another workstation's would.
#include "warehouse/DbError.h"
#include "warehouse/Dialogs.h"
#include "warehouse/Warehouse.h"

#include <QSqlDatabase>
#include <QStringList>

#include <functional>
#include <thread>
#include <utility>

// Runs a write as a second client would, on a connection of its own in a thread of its own: empty
// when it went through, else what it was told.
inline QString asSecondClient(const std::function<void()> &write)
{
    const QString shared = gcnWarehouse().connectionName();
    QString outcome;
    std::thread client([&] {
        const QString name = QStringLiteral("second");
        {
            QSqlDatabase db = QSqlDatabase::cloneDatabase(shared, name);
            const warehouse::ThreadConnection use(name);
            try {
                if (!db.open())
                    outcome = QStringLiteral("not connected");
                else
                    write();
            } catch (const DbError &error) {
                outcome = error.description();
            }
        }
        QSqlDatabase::removeDatabase(name);
    });
    client.join();
    return outcome;
}

// Answers every question Yes and keeps every text shown; while the first question is on screen,
// another client writes.
class AnotherClientMeanwhile : public Dialogs
{
public:
    explicit AnotherClientMeanwhile(std::function<void()> write)
        : m_write(std::move(write))
    {}
    void message(const QString &text, const QString &, Icon) override { shown << text; }
    bool question(const QString &text, const QString &, Icon) override
    {
        shown << text;
        if (m_write)
            secondClient = asSecondClient(std::exchange(m_write, {}));
        return true;
    }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }

    QStringList shown;
    QString secondClient;

private:
    std::function<void()> m_write;
};


#pragma once

// A transaction on gcnWarehouse. Rolls back unless committed, so a failure anywhere inside undoes
// everything: the PostgreSQL ODBC driver would otherwise undo just the failed statement and let a
// later commit keep the rest. On the embedded warehouse it holds the file's write lock from the
// start.
class Transaction
{
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();
    void rollback();

private:
    bool m_open = false;
};

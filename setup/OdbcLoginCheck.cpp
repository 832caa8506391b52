#include "OdbcLoginCheck.h"

#include <QStringList>

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <vector>

namespace {

// A login that takes longer than this is reported as failed rather than left hanging.
constexpr SQLULEN kLoginTimeoutSeconds = 15;

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC built with UTF-16 SQLWCHAR");

QString quotedValue(const QString &value)
{
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) &&
        !value.contains(QLatin1Char('}')))
        return value;
    QString escaped = value;
    escaped.replace(QLatin1String("}"), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

QString fromSqlWChar(const SQLWCHAR *text, qsizetype length)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(text), length);
}

// Every diagnostic record of a handle, each on a line of its own (carriage return between).
QString diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QStringList messages;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER nativeError = 0;
        std::vector<SQLWCHAR> text(SQL_MAX_MESSAGE_LENGTH);
        SQLSMALLINT length = 0;
        SQLRETURN ret = SQLGetDiagRecW(handleType, handle, record, state, &nativeError, text.data(),
                                       SQLSMALLINT(text.size()), &length);
        if (ret == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(text.size())) {
            text.resize(std::size_t(length) + 1);
            ret = SQLGetDiagRecW(handleType, handle, record, state, &nativeError, text.data(),
                                 SQLSMALLINT(text.size()), &length);
        }
        if (!SQL_SUCCEEDED(ret))
            break;
        const QString message =
            fromSqlWChar(text.data(), qMin<qsizetype>(length, qsizetype(text.size()) - 1))
                .trimmed();
        if (!message.isEmpty() && !messages.contains(message))
            messages.append(message);
    }
    return messages.join(QLatin1Char('\r'));
}

// Frees the driver manager's handles on every way out.
struct OdbcHandles
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;

    ~OdbcHandles()
    {
        if (connected)
            SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC)
            SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
};

LoginCheck failed(QString description)
{
    if (description.isEmpty())
        description =
            QStringLiteral("The ODBC driver manager reported an error without a description.");
    return {LoginCheck::State::Failed, description};
}

} // namespace

QString odbcConnectionString(const SetupLogin &login)
{
    return QLatin1String("DSN=") + quotedValue(login.dataSource) + QLatin1String(";UID=") +
           quotedValue(login.userName) + QLatin1String(";PWD=") + quotedValue(login.password);
}

LoginCheck checkOdbcLogin(const SetupLogin &login)
{
    OdbcHandles h;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h.env)))
        return failed(QStringLiteral("The ODBC driver manager cannot be initialised."));
    SQLSetEnvAttr(h.env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, h.env, &h.dbc)))
        return failed(diagnostics(SQL_HANDLE_ENV, h.env));
    SQLSetConnectAttrW(h.dbc, SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);

    const QString connection = odbcConnectionString(login);
    std::vector<SQLWCHAR> in(connection.utf16(), connection.utf16() + connection.size() + 1);
    const SQLRETURN ret = SQLDriverConnectW(h.dbc, nullptr, in.data(), SQL_NTS, nullptr, 0, nullptr,
                                            SQL_DRIVER_NOPROMPT);
    if (ret == SQL_NO_DATA)
        return {LoginCheck::State::NotOpen, {}};
    if (!SQL_SUCCEEDED(ret))
        return failed(diagnostics(SQL_HANDLE_DBC, h.dbc));
    h.connected = true;

    SQLUINTEGER dead = SQL_CD_FALSE;
    if (SQL_SUCCEEDED(SQLGetConnectAttrW(h.dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
        dead == SQL_CD_TRUE)
        return {LoginCheck::State::NotOpen, {}};
    return {LoginCheck::State::Open, {}};
}

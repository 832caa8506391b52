#include "SetupLogin.h"

namespace {

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

SetupLogin SetupLogin::trimmed() const
{
    return {trimBlanks(userName), trimBlanks(password), trimBlanks(dataSource)};
}

#include "Vb.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>

namespace vb {

namespace {

// Only ASCII digits count: a number typed with other scripts' digits was never one to the original.
bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
int digitValue(QChar c)
{
    return c.unicode() - u'0';
}

int hexValue(QChar c)
{
    if (isDigit(c))
        return digitValue(c);
    const char16_t lower = c.toLower().unicode();
    if (lower >= u'a' && lower <= u'f')
        return lower - u'a' + 10;
    return -1;
}

// A number read from text, before it becomes a double.
struct ParsedNumber
{
    bool negative = false;
    bool radix = false; // "&H" or "&O": radixValue holds the magnitude
    quint64 radixValue = 0;
    std::string wholeDigits; // ASCII
    std::string fractionDigits;
    long exponent = 0;
};

// The one reading of numeric text behind IsNumeric and ToNumber: optional leading blanks, one
// sign, "$" and "(" in any order; the digits; then blanks, a trailing sign, ")" or "$".
std::optional<ParsedNumber> parseNumber(const QString &text)
{
    ParsedNumber number;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto at = [&](qsizetype k) {
        return k < n ? text.at(k) : QChar();
    };

    bool sign = false, currency = false, parens = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isSpace())
            continue;
        if (c == u',')
            return std::nullopt; // a separator before the first digit
        if ((c == u'+' || c == u'-') && !sign) {
            sign = true;
            number.negative = c == u'-';
        } else if (c == u'$' && !currency) {
            currency = true;
        } else if (c == u'(' && !parens) {
            parens = true;
        } else {
            break;
        }
    }

    bool anyDigit = false;
    if (!currency && at(i) == u'&' &&
        (at(i + 1).toLower() == u'h' || at(i + 1).toLower() == u'o')) {
        const int base = at(i + 1).toLower() == u'h' ? 16 : 8;
        number.radix = true;
        for (i += 2; i < n; ++i) {
            const int v = hexValue(text.at(i));
            if (v < 0 || v >= base)
                break;
            anyDigit = true;
            number.radixValue = number.radixValue * base + quint64(v);
            if (number.radixValue > quint64(std::numeric_limits<qint32>::max()))
                return std::nullopt;
        }
    } else {
        bool point = false;
        for (; i < n; ++i) {
            const QChar c = text.at(i);
            if (isDigit(c)) {
                anyDigit = true;
                (point ? number.fractionDigits : number.wholeDigits) += char(c.unicode());
            } else if (c == u',' && !point) {
                continue; // thousands separators are ignored wherever they stand
            } else if (c == u'.' && !point) {
                point = true;
            } else if ((c == u'e' || c == u'E') && !currency && anyDigit) {
                ++i;
                bool negativeExponent = false;
                if (at(i) == u'+' || at(i) == u'-')
                    negativeExponent = text.at(i++) == u'-';
                if (!isDigit(at(i)))
                    return std::nullopt; // "1e", "1e+"
                for (; isDigit(at(i)); ++i) {
                    if (number.exponent < 100000) // far beyond any double; no overflow of long
                        number.exponent = number.exponent * 10 + digitValue(text.at(i));
                }
                if (negativeExponent)
                    number.exponent = -number.exponent;
                break;
            } else {
                break;
            }
        }
    }
    if (!anyDigit)
        return std::nullopt;

    bool closed = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isSpace())
            continue;
        if ((c == u'+' || c == u'-') && !sign) {
            sign = true;
            number.negative = c == u'-';
        } else if (c == u')' && parens && !closed) {
            closed = true;
        } else if (c == u'$' && !currency && !number.radix) {
            currency = true;
        } else {
            return std::nullopt;
        }
    }
    if (parens && !closed)
        return std::nullopt;
    if (parens)
        number.negative = true;
    return number;
}

std::optional<double> toDouble(const ParsedNumber &number)
{
    double value = 0;
    if (number.radix) {
        value = double(number.radixValue);
    } else {
        std::string normal;
        normal.reserve(number.wholeDigits.size() + number.fractionDigits.size() + 16);
        normal += number.wholeDigits.empty() ? "0" : number.wholeDigits;
        normal += '.';
        normal += number.fractionDigits.empty() ? "0" : number.fractionDigits;
        normal += 'e';
        normal += std::to_string(number.exponent);
        // Correctly rounded, as the C locale's reading of the same text.
        const auto read = std::from_chars(normal.data(), normal.data() + normal.size(), value);
        if (read.ec != std::errc() || !std::isfinite(value)) {
            // The text is well formed, so only its size can fail: too small a value vanishes to
            // zero, as it did in the original; too large a one is no number.
            const long magnitude = number.exponent + long(number.wholeDigits.size());
            if (magnitude > 0)
                return std::nullopt;
            value = 0;
        }
    }
    return number.negative && value != 0 ? -value : value;
}

} // namespace

bool IsNumeric(const QString &text)
{
    return ToNumber(text).has_value();
}

std::optional<double> ToNumber(const QString &text)
{
    const std::optional<ParsedNumber> number = parseNumber(text);
    if (!number)
        return std::nullopt;
    return toDouble(*number);
}

std::optional<qint16> ToInteger16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0))
        whole += 1;
    if (whole < std::numeric_limits<qint16>::min() || whole > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(whole);
}

std::optional<qint16> ToInteger16(const QString &text)
{
    const std::optional<double> value = ToNumber(text);
    if (!value)
        return std::nullopt;
    return ToInteger16(*value);
}

double Val(const QString &text)
{
    QString packed;
    packed.reserve(text.size());
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            packed.append(c);
    }

    if (packed.size() > 2 && packed.at(0) == u'&' &&
        (packed.at(1).toLower() == u'h' || packed.at(1).toLower() == u'o')) {
        const int base = packed.at(1).toLower() == u'h' ? 16 : 8;
        quint64 value = 0;
        qsizetype digits = 0;
        for (qsizetype i = 2; i < packed.size() && digits < 16; ++i, ++digits) {
            const int v = hexValue(packed.at(i));
            if (v < 0 || v >= base)
                break;
            value = value * base + quint64(v);
        }
        // Written as a 16- or 32-bit pattern, as the original's hexadecimal literals are.
        if (value <= 0xFFFF)
            return double(qint16(quint16(value)));
        if (value <= 0xFFFFFFFF)
            return double(qint32(quint32(value)));
        return double(value);
    }

    static const QRegularExpression leading(
        QStringLiteral("^[+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eEdD][+-]?\\d+)?"));
    const QRegularExpressionMatch match = leading.match(packed);
    if (!match.hasMatch())
        return 0;
    QString number = match.captured(0);
    number.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok && std::isfinite(value) ? value : 0;
}

// ---- Dates ----

namespace {

int monthFromName(const QString &name)
{
    static const std::array<const char16_t *, 12> names = {
        u"january", u"february", u"march",     u"april",   u"may",      u"june",
        u"july",    u"august",   u"september", u"october", u"november", u"december"};
    const QString lower = name.toLower();
    for (int m = 0; m < 12; ++m) {
        const QString full = QString::fromUtf16(names[size_t(m)]);
        if (lower == full || (lower.size() == 3 && full.startsWith(lower)))
            return m + 1;
    }
    if (lower == u"sept")
        return 9;
    return 0;
}

// Two-digit years fall in 1930..2029; three- and four-digit years stand as written.
int yearFromText(const QString &digits)
{
    const int year = digits.toInt();
    if (digits.size() <= 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year >= 100 ? year : 0;
}

QDate makeDate(int year, int month, int day)
{
    if (year < 100 || year > 9999)
        return {};
    return QDate(year, month, day); // invalid for 02/30 and the like
}

// The date part alone: the forms a user types and the forms the database hands back.
QDate parseDatePart(const QString &text, bool *isoForm)
{
    using RE = QRegularExpression;
    static const RE monthDayYear(QStringLiteral("^(\\d{1,2})([/.-])(\\d{1,2})\\2(\\d{1,4})$"));
    static const RE yearMonthDay(QStringLiteral("^(\\d{3,4})([/.-])(\\d{1,2})\\2(\\d{1,2})$"));
    static const RE monthDay(QStringLiteral("^(\\d{1,2})/(\\d{1,2})$"));
    static const RE nameDayYear(
        QStringLiteral("^([a-z]+)\\.?[\\s,./-]*(\\d{1,2})(?:[\\s,./-]+(\\d{1,4}))?$"),
        RE::CaseInsensitiveOption);
    static const RE dayNameYear(
        QStringLiteral("^(\\d{1,2})[\\s,./-]*([a-z]+)\\.?(?:[\\s,./-]*(\\d{1,4}))?$"),
        RE::CaseInsensitiveOption);

    *isoForm = false;
    QRegularExpressionMatch m;
    if ((m = monthDayYear.match(text)).hasMatch())
        return makeDate(yearFromText(m.captured(4)), m.captured(1).toInt(), m.captured(3).toInt());
    if ((m = yearMonthDay.match(text)).hasMatch()) {
        *isoForm = true;
        return makeDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    }
    const int thisYear = QDate::currentDate().year();
    if ((m = monthDay.match(text)).hasMatch())
        return makeDate(thisYear, m.captured(1).toInt(), m.captured(2).toInt());
    if ((m = nameDayYear.match(text)).hasMatch()) {
        const int month = monthFromName(m.captured(1));
        const int year = m.hasCaptured(3) ? yearFromText(m.captured(3)) : thisYear;
        return month ? makeDate(year, month, m.captured(2).toInt()) : QDate();
    }
    if ((m = dayNameYear.match(text)).hasMatch()) {
        const int month = monthFromName(m.captured(2));
        const int year = m.hasCaptured(3) ? yearFromText(m.captured(3)) : thisYear;
        return month ? makeDate(year, month, m.captured(1).toInt()) : QDate();
    }
    return {};
}

struct DateAndTime
{
    QDate date;
    QTime time;
};

// Kept apart from QDateTime so that a wall-clock time that the local zone skips (a daylight-saving
// gap) does not make a valid date look invalid.
std::optional<DateAndTime> parseDateTime(const QString &input)
{
    using RE = QRegularExpression;
    // A time after the date: "10:30", "22:30:15", "10:30:15.250", "10:30 PM", "10 PM".
    static const RE clock(
        QStringLiteral("^(.*?)(\\s+|T)(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:\\.\\d{1,9})?)?"
                       "\\s*(?:([ap])\\.?m\\.?)?$"),
        RE::CaseInsensitiveOption);
    static const RE hourOnly(QStringLiteral("^(.*?)(\\s+)(\\d{1,2})\\s*([ap])\\.?m\\.?$"),
                             RE::CaseInsensitiveOption);

    const QString text = input.trimmed();
    QString datePart = text;
    QTime time(0, 0);
    bool afterT = false;

    QRegularExpressionMatch m = clock.match(text);
    int hour = -1, minute = 0, second = 0;
    QString meridiem;
    if (m.hasMatch()) {
        datePart = m.captured(1);
        afterT = m.captured(2).compare(u"T", Qt::CaseInsensitive) == 0;
        hour = m.captured(3).toInt();
        minute = m.captured(4).toInt();
        second = m.hasCaptured(5) ? m.captured(5).toInt() : 0;
        meridiem = m.captured(6).toLower();
    } else if ((m = hourOnly.match(text)).hasMatch()) {
        datePart = m.captured(1);
        hour = m.captured(3).toInt();
        meridiem = m.captured(4).toLower();
    }
    if (hour >= 0) {
        if (!meridiem.isEmpty()) {
            if (hour > 12)
                return std::nullopt;
            hour = hour % 12 + (meridiem == u"p" ? 12 : 0);
        }
        time = QTime(hour, minute, second);
        if (!time.isValid())
            return std::nullopt;
    }

    bool isoForm = false;
    const QDate date = parseDatePart(datePart.trimmed(), &isoForm);
    if (!date.isValid() || (afterT && !isoForm))
        return std::nullopt;
    return DateAndTime{date, time};
}

} // namespace

bool IsDate(const QString &text)
{
    return parseDateTime(text).has_value();
}

QDate ToDate(const QString &text)
{
    const std::optional<DateAndTime> parsed = parseDateTime(text);
    return parsed ? parsed->date : QDate();
}

QDateTime ToDateTime(const QString &text)
{
    const std::optional<DateAndTime> parsed = parseDateTime(text);
    return parsed ? QDateTime(parsed->date, parsed->time) : QDateTime();
}

// ---- Number formats ----

namespace {

struct NumberPattern
{
    QString prefix;
    QString suffix;
    int minWhole = 0; // "0" placeholders before the point
    bool grouping = false;
    bool point = false;
    int fractionRequired = 0; // fraction places up to the last "0"
    int fractionPlaces = 0;   // all fraction placeholders
    int percent = 0;
    bool placeholders = false;
};

NumberPattern parsePattern(const QString &pattern)
{
    NumberPattern p;
    bool started = false; // a placeholder or the point has been seen: literals go to the suffix
    auto literal = [&](QChar c) {
        (started ? p.suffix : p.prefix).append(c);
    };
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'0' || c == u'#') {
            started = p.placeholders = true;
            if (p.point) {
                ++p.fractionPlaces;
                if (c == u'0')
                    p.fractionRequired = p.fractionPlaces;
            } else if (c == u'0') {
                ++p.minWhole;
            }
        } else if (c == u',' && started && !p.point) {
            p.grouping = true;
        } else if (c == u'.' && !p.point) {
            p.point = started = true;
        } else if (c == u'%') {
            ++p.percent;
            literal(c);
        } else if (c == u'\\' && i + 1 < pattern.size()) {
            literal(pattern.at(++i));
        } else if (c == u'"') {
            while (++i < pattern.size() && pattern.at(i) != u'"')
                literal(pattern.at(i));
        } else {
            literal(c);
        }
    }
    return p;
}

// The reading of each pattern in use: a fill formats its columns' values with a few patterns in
// turn, and reading one anew for each value cost a third of the formatting.
const NumberPattern &patternOf(const QString &pattern)
{
    struct Read
    {
        QString pattern;
        NumberPattern read;
    };
    thread_local std::array<Read, 8> cache;
    thread_local size_t used = 0;
    thread_local size_t next = 0;
    for (size_t i = 0; i < used; ++i)
        if (cache[i].pattern == pattern)
            return cache[i].read;
    Read &entry = cache[next];
    entry = Read{pattern, parsePattern(pattern)};
    next = (next + 1) % cache.size();
    used = std::max(used, next == 0 ? cache.size() : next);
    return entry.read;
}

// |value| x 10^places rounded half away from zero, as ASCII digits, from the value's
// 15-significant-digit decimal form: the digits a person reads, not the binary's tail.
std::string scaledDigits(double value, int places)
{
    // Most values lie well away from a rounding half. Their 15-digit form differs from them by
    // at most 5e-15 of their size, too little to cross the half, so the scaled value rounds to
    // the same digits, at a fraction of the cost of writing that form out.
    static constexpr double kScales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    if (places >= 0 && places < int(std::size(kScales))) {
        const double scaled = std::fabs(value) * kScales[places];
        if (scaled < 1e15) {
            const double whole = std::floor(scaled);
            const double fraction = scaled - whole;
            if (std::fabs(fraction - 0.5) > scaled * 1e-14)
                return std::to_string(quint64(whole) + (fraction > 0.5 ? 1 : 0));
        }
    }
    const QString e = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde±x
    const qsizetype ePos = e.indexOf(u'e');
    std::string digits;
    digits.reserve(32);
    digits += char(e.at(0).unicode());
    for (qsizetype i = 2; i < ePos; ++i)
        digits += char(e.at(i).unicode());
    // Digits before the point.
    const int pointAt = QStringView(e).mid(ePos + 1).toInt() + 1 + places;

    bool roundUp = false;
    if (pointAt <= 0) {
        roundUp = pointAt == 0 && digits[0] >= '5';
        digits.assign(1, '0');
    } else if (size_t(pointAt) >= digits.size()) {
        digits.append(size_t(pointAt) - digits.size(), '0');
    } else {
        roundUp = digits[size_t(pointAt)] >= '5';
        digits.resize(size_t(pointAt));
    }
    if (roundUp) {
        auto k = qsizetype(digits.size()) - 1;
        for (; k >= 0 && digits[size_t(k)] == '9'; --k)
            digits[size_t(k)] = '0';
        if (k < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[size_t(k)];
    }
    return digits;
}

} // namespace

QString Format(double value, const QString &pattern)
{
    if (!std::isfinite(value))
        return {};
    const NumberPattern &p = patternOf(pattern);
    if (!p.placeholders)
        return pattern.isEmpty() ? CStr(value) : p.prefix + p.suffix;

    const int scale = 2 * p.percent;
    std::string digits =
        value == 0 ? std::string("0") : scaledDigits(value, p.fractionPlaces + scale);
    const bool zero = std::all_of(digits.cbegin(), digits.cend(), [](char c) { return c == '0'; });
    const auto places = size_t(p.fractionPlaces);
    if (digits.size() <= places)
        digits.insert(0, places + 1 - digits.size(), '0');

    // The whole part: its digits without leading zeros, padded to the pattern's "0"s.
    const size_t wholeEnd = digits.size() - places;
    size_t firstSignificant = 0;
    while (firstSignificant < wholeEnd && digits[firstSignificant] == '0')
        ++firstSignificant;
    const size_t significant = wholeEnd - firstSignificant;
    const size_t padding = significant < size_t(p.minWhole) ? size_t(p.minWhole) - significant : 0;
    const size_t wholeSize = padding + significant;
    // The fraction, without trailing zeros beyond the pattern's last "0".
    size_t fractionSize = places;
    while (fractionSize > size_t(p.fractionRequired) && digits[wholeEnd + fractionSize - 1] == '0')
        --fractionSize;

    QString text;
    text.reserve(qsizetype(1 + wholeSize * 4 / 3 + 1 + fractionSize) + p.prefix.size() +
                 p.suffix.size());
    if (value < 0 && !zero)
        text += u'-';
    text += p.prefix;
    for (size_t i = 0; i < wholeSize; ++i) {
        if (p.grouping && i > 0 && (wholeSize - i) % 3 == 0)
            text += u',';
        text += QLatin1Char(i < padding ? '0' : digits[firstSignificant + i - padding]);
    }
    if (p.point) {
        text += u'.';
        text += QLatin1StringView(digits.data() + wholeEnd, qsizetype(fractionSize));
    }
    text += p.suffix;
    return text;
}

QString FormatText(const QString &text, const QString &pattern)
{
    const std::optional<double> value = ToNumber(text);
    return value ? Format(*value, pattern) : text;
}

// ---- Date formats ----

namespace {

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

QString englishMonth(int month, bool full)
{
    static const std::array<const char16_t *, 12> names = {
        u"January", u"February", u"March",     u"April",   u"May",      u"June",
        u"July",    u"August",   u"September", u"October", u"November", u"December"};
    const QString name = QString::fromUtf16(names[size_t(month - 1)]);
    return full ? name : name.left(3);
}

QString englishWeekday(int dayOfWeek, bool full)
{
    static const std::array<const char16_t *, 7> names = {
        u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday"};
    const QString name = QString::fromUtf16(names[size_t(dayOfWeek - 1)]);
    return full ? name : name.left(3);
}

} // namespace

QString FormatDate(const QDateTime &dateTime, const QString &pattern)
{
    if (!dateTime.date().isValid())
        return {};
    const QDate date = dateTime.date();
    const QTime time = dateTime.time().isValid() ? dateTime.time() : QTime(0, 0);

    QString text;
    bool afterHour = false; // "m" right after an hour is minutes
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        const QChar lower = c.toLower();
        if (c == u'\\' && i + 1 < pattern.size()) {
            text += pattern.at(i + 1);
            i += 2;
            continue;
        }
        if (c == u'"') {
            const qsizetype close = pattern.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            text += pattern.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (QStringView(u"dmyhns").contains(lower)) {
            qsizetype run = 1;
            while (i + run < pattern.size() && pattern.at(i + run).toLower() == lower)
                ++run;
            i += run;
            const bool two = run >= 2;
            switch (lower.unicode()) {
            case u'd':
                if (run >= 3)
                    text += englishWeekday(date.dayOfWeek(), run >= 4);
                else
                    text += two ? twoDigits(date.day()) : QString::number(date.day());
                break;
            case u'm':
                if (afterHour && run <= 2)
                    text += two ? twoDigits(time.minute()) : QString::number(time.minute());
                else if (run >= 3)
                    text += englishMonth(date.month(), run >= 4);
                else
                    text += two ? twoDigits(date.month()) : QString::number(date.month());
                break;
            case u'y':
                if (run == 1)
                    text += QString::number(date.dayOfYear());
                else if (run == 2)
                    text += twoDigits(date.year() % 100);
                else
                    text += QString::number(date.year()).rightJustified(4, u'0');
                break;
            case u'h':
                text += two ? twoDigits(time.hour()) : QString::number(time.hour());
                break;
            case u'n':
                text += two ? twoDigits(time.minute()) : QString::number(time.minute());
                break;
            case u's':
                text += two ? twoDigits(time.second()) : QString::number(time.second());
                break;
            }
            afterHour = lower == u'h';
            continue;
        }
        text += c;
        ++i;
    }
    return text;
}

QString FormatDate(const QDate &date, const QString &pattern)
{
    if (!date.isValid())
        return {};
    // The grids' own pattern, asked for on every row of a list: written out digit by digit.
    if (pattern == u"mm/dd/yyyy") {
        int year = 0, month = 0, day = 0;
        date.getDate(&year, &month, &day);
        if (year >= 1000 && year <= 9999) {
            const auto digit = [](int n) { return char16_t(u'0' + n % 10); };
            const char16_t text[] = {digit(month / 10),  digit(month),      u'/',
                                     digit(day / 10),    digit(day),        u'/',
                                     digit(year / 1000), digit(year / 100), digit(year / 10),
                                     digit(year)};
            return QString(reinterpret_cast<const QChar *>(text), std::size(text));
        }
    }
    // In UTC: the same day and midnight without asking the system for its time zone, which
    // costs a file look-up on every call.
    return FormatDate(QDateTime(date, QTime(0, 0), Qt::UTC), pattern);
}

// ---- Text ----

QString Trim(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString Str(long long value)
{
    const QString digits = QString::number(value);
    return value < 0 ? digits : u' ' + digits;
}

QString CStr(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    // Whole numbers and cents, most of a grid's numbers, are written out here: a decimal of up to
    // fifteen digits comes back unchanged from its double, so they read as the general
    // conversion writes them, at a fraction of its cost.
    if (std::abs(value) < 1e13) {
        const double cents = std::round(value * 100);
        if (cents / 100 == value) {
            quint64 rest = quint64(std::abs(cents));
            char16_t text[20];
            char16_t *end = text + sizeof text / sizeof *text;
            char16_t *begin = end;
            const int hundredths = int(rest % 10), tenths = int(rest / 10 % 10);
            if (hundredths != 0)
                *--begin = char16_t(u'0' + hundredths);
            if (tenths != 0 || hundredths != 0) {
                *--begin = char16_t(u'0' + tenths);
                *--begin = u'.';
            }
            rest /= 100;
            do {
                *--begin = char16_t(u'0' + rest % 10);
                rest /= 10;
            } while (rest != 0);
            if (value < 0)
                *--begin = u'-';
            return QString(reinterpret_cast<const QChar *>(begin), end - begin);
        }
    }
    return QString::number(value, 'G', 15);
}

} // namespace vb

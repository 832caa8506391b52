#include "warehouse/Vb.h"

#include <QLocale>
#include <QTest>

#include <clocale>
#include <cmath>
#include <random>

// Expected values of the conversions as the catalog staff knew them. A QVariant() stands for
// "refused": not numeric, not a date, outside the range.
class tst_vb : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void numbers_data();
    void numbers();
    void integer16_data();
    void integer16();
    void val_data();
    void val();
    void dates_data();
    void dates();
    void dateTimes_data();
    void dateTimes();
    void formats_data();
    void formats();
    void formatsWithManyPatternsInTurn();
    void formatsRandomValuesFromTheirFifteenDigits();
    void formatText_data();
    void formatText();
    void dateFormats_data();
    void dateFormats();
    void trim_data();
    void trim();
    void numberTexts();
    void foreignLocaleChangesNothing();
};

void tst_vb::cleanup()
{
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C.UTF-8");
}

void tst_vb::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("value");
    auto row = [](const char *text, QVariant value) {
        QTest::newRow(text) << QString::fromUtf8(text) << value;
    };
    const QVariant refused;

    row("0", 0.0);
    row("  42  ", 42.0);
    row("\t42\n", 42.0);
    row("-1.5", -1.5);
    row("+1.5", 1.5);
    row("1.5-", -1.5); // a trailing sign is a sign
    row("- 1", -1.0);  // blanks between sign and digits are allowed
    row(".5", 0.5);
    row("5.", 5.0);
    row("007", 7.0);
    row("1,234.50", 1234.5);
    row("1,2,3", 123.0); // separators are ignored wherever they stand among the whole digits
    row("1,234,", 1234.0);
    row("1e3", 1000.0);
    row("1.5E-2", 0.015);
    row("2.5e+1", 25.0);
    row("$1,234.50", 1234.5);
    row("-$1,234.50", -1234.5);
    row("$-5", -5.0);
    row("5$", 5.0);
    row("(12.50)", -12.5);
    row("($12.50)", -12.5);
    row("&H1F", 31.0);
    row("&o17", 15.0);
    row("-&H10", -16.0);
    row("1e-400", 0.0); // too small for a double: zero

    row("", refused);
    row("   ", refused);
    row("abc", refused);
    row("1e", refused);
    row("1e+", refused);
    row("e5", refused);
    row("--1", refused);
    row("+-1", refused); // one sign only
    row("1-2", refused);
    row("$", refused);
    row("$$5", refused);
    row("$1e3", refused); // no exponent in money
    row("-", refused);
    row(".", refused);
    row("()", refused);
    row("(5", refused);
    row("5)", refused);
    row("1.2.3", refused);
    row("1 000", refused);
    row(",5", refused);
    row("1.000,5", refused); // a foreign decimal comma is not read as a tiny fraction
    row("12abc", refused);
    row("&H", refused);
    row("&HG", refused);
    row("&H80000000", refused);
    row("1e400", refused);                    // overflows a double
    row("\xef\xbc\x91\xef\xbc\x92", refused); // full-width digits
}

void tst_vb::numbers()
{
    QFETCH(QString, text);
    QFETCH(QVariant, value);
    QCOMPARE(vb::IsNumeric(text), value.isValid());
    const std::optional<double> number = vb::ToNumber(text);
    QCOMPARE(number.has_value(), value.isValid());
    if (number)
        QCOMPARE(*number, value.toDouble());
}

void tst_vb::integer16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("value");
    const QVariant refused;
    QTest::newRow("plain") << QStringLiteral(" 12 ") << QVariant(12);
    QTest::newRow("half to even down") << QStringLiteral("2.5") << QVariant(2);
    QTest::newRow("half to even up") << QStringLiteral("3.5") << QVariant(4);
    QTest::newRow("negative half down") << QStringLiteral("-2.5") << QVariant(-2);
    QTest::newRow("negative half up") << QStringLiteral("-3.5") << QVariant(-4);
    QTest::newRow("above half") << QStringLiteral("2.51") << QVariant(3);
    QTest::newRow("largest") << QStringLiteral("32767") << QVariant(32767);
    QTest::newRow("rounds to largest") << QStringLiteral("32767.4") << QVariant(32767);
    QTest::newRow("rounds past largest") << QStringLiteral("32767.5") << refused;
    QTest::newRow("one past largest") << QStringLiteral("32768") << refused;
    QTest::newRow("smallest") << QStringLiteral("-32768") << QVariant(-32768);
    QTest::newRow("rounds to smallest") << QStringLiteral("-32768.5") << QVariant(-32768);
    QTest::newRow("one below smallest") << QStringLiteral("-32769") << refused;
    QTest::newRow("huge") << QStringLiteral("99999999999999999999") << refused;
    QTest::newRow("thousands") << QStringLiteral("1,000") << QVariant(1000);
    QTest::newRow("not numeric") << QStringLiteral("abc") << refused;
    QTest::newRow("blank") << QStringLiteral(" ") << refused;
}

void tst_vb::integer16()
{
    QFETCH(QString, text);
    QFETCH(QVariant, value);
    const std::optional<qint16> number = vb::ToInteger16(text);
    QCOMPARE(number.has_value(), value.isValid());
    if (number)
        QCOMPARE(int(*number), value.toInt());
}

void tst_vb::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("stored placement") << QStringLiteral(" 1440") << 1440.0;
    QTest::newRow("negative") << QStringLiteral(" -15") << -15.0;
    QTest::newRow("inner blanks") << QStringLiteral("1 2\t3") << 123.0;
    QTest::newRow("stops at letters") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("stops at separator") << QStringLiteral("1,234") << 1.0;
    QTest::newRow("zero prefix") << QStringLiteral("01") << 1.0;
    QTest::newRow("zero prefix of nothing") << QStringLiteral("0") << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0.0;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1.5e2") << 150.0;
    QTest::newRow("D exponent") << QStringLiteral("1D2") << 100.0;
    QTest::newRow("hex") << QStringLiteral("&HFF") << 255.0;
    QTest::newRow("hex 16-bit pattern") << QStringLiteral("&HFFFF") << -1.0;
}

void tst_vb::val()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(vb::Val(text), value);
}

void tst_vb::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    auto row = [](const char *text, QDate date) {
        QTest::newRow(text) << QString::fromUtf8(text) << date;
    };
    const QDate no;
    const int thisYear = QDate::currentDate().year();

    row("12/31/2024", QDate(2024, 12, 31));
    row("  12/31/2024  ", QDate(2024, 12, 31));
    row("1/2/24", QDate(2024, 1, 2));
    row("02/29/2024", QDate(2024, 2, 29));
    row("2/29/2000", QDate(2000, 2, 29));
    row("1/2/00", QDate(2000, 1, 2));
    row("1/2/29", QDate(2029, 1, 2));
    row("1/2/30", QDate(1930, 1, 2));
    row("1/2/99", QDate(1999, 1, 2));
    row("1/2/5", QDate(2005, 1, 2));
    row("12-31-2024", QDate(2024, 12, 31));
    row("12.31.2024", QDate(2024, 12, 31));
    row("2024-12-31", QDate(2024, 12, 31));
    row("2024/2/29", QDate(2024, 2, 29));
    row("12/31", QDate(thisYear, 12, 31));
    row("Dec 31, 2024", QDate(2024, 12, 31));
    row("December 31 2024", QDate(2024, 12, 31));
    row("dec. 31, 24", QDate(2024, 12, 31));
    row("Sept 1, 2024", QDate(2024, 9, 1));
    row("31-Dec-2024", QDate(2024, 12, 31));
    row("31 Dec 2024", QDate(2024, 12, 31));
    row("31-Dec-99", QDate(1999, 12, 31));
    row("12/31/2024 10:30", QDate(2024, 12, 31));
    row("2024-12-31 00:00:00", QDate(2024, 12, 31));
    row("2024-12-31T22:30:00.000", QDate(2024, 12, 31));

    row("02/30/2024", no);
    row("02/29/2023", no);
    row("2/29/1900", no);
    row("13/01/2024", no);
    row("31/12/2024", no); // day and month are never swapped to make a date fit
    row("00/10/2024", no);
    row("12/00/2024", no);
    row("2024-13-01", no);
    row("2024-02-30", no);
    row("12/31-2024", no);
    row("1/1/0099", no);
    row("1/1/99999", no);
    row("Feb 30, 2024", no);
    row("Foo 31, 2024", no);
    row("Dec 2024", no);
    row("12312024", no);
    row("12/31/2024T10:30", no);
    row("12/31/2024 25:00", no);
    row("12/31/2024 10:60", no);
    row("12/31/2024 13:00 PM", no);
    row("10:30", no); // a time alone is no date
    row("1e5", no);
    row("abc", no);
    row("", no);
    row("   ", no);
}

void tst_vb::dates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(vb::IsDate(text), date.isValid());
    QCOMPARE(vb::ToDate(text), date);
}

void tst_vb::dateTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("time");
    QTest::newRow("none") << QStringLiteral("12/31/2024") << QTime(0, 0);
    QTest::newRow("24-hour") << QStringLiteral("12/31/2024 22:30") << QTime(22, 30);
    QTest::newRow("pm") << QStringLiteral("12/31/2024 10:30:15 PM") << QTime(22, 30, 15);
    QTest::newRow("midnight am") << QStringLiteral("12/31/2024 12:05 am") << QTime(0, 5);
    QTest::newRow("noon pm") << QStringLiteral("12/31/2024 12:05 PM") << QTime(12, 5);
    QTest::newRow("hour only") << QStringLiteral("Dec 31, 2024 10 PM") << QTime(22, 0);
    QTest::newRow("stored") << QStringLiteral("2024-12-31 23:59:58") << QTime(23, 59, 58);
}

void tst_vb::dateTimes()
{
    QFETCH(QString, text);
    QFETCH(QTime, time);
    QCOMPARE(vb::ToDateTime(text), QDateTime(QDate(2024, 12, 31), time));
}

void tst_vb::formats_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    auto row = [](const char *name, double value, const char *pattern, const char *text) {
        QTest::newRow(name) << value << QString::fromUtf8(pattern) << QString::fromUtf8(text);
    };
    const char *money = "$#,##0.00";
    row("money", 1234.5, money, "$1,234.50");
    row("negative money", -1234.5, money, "-$1,234.50");
    row("zero money", 0, money, "$0.00");
    row("half cent up", 0.005, money, "$0.01");
    row("negative half cent away from zero", -0.005, money, "-$0.01");
    row("negative rounding to zero has no sign", -0.004, money, "$0.00");
    row("millions", 1234567.891, money, "$1,234,567.89");
    row("carry into thousands", 999.995, money, "$1,000.00");
    row("binary noise", 0.1 + 0.2, money, "$0.30");
    row("2.675 reads as written", 2.675, "#,##0.00", "2.68");
    row("1.005 reads as written", 1.005, "#,##0.00", "1.01");
    row("price text", 12, "#,##0.00", "12.00");
    row("tiny", 1e-20, "#,##0.00", "0.00");
    row("count", 1234, "#,##0", "1,234");
    row("zero count", 0, "#,##0", "0");
    row("count half up", 2.5, "#,##0", "3");
    row("negative count half away", -2.5, "#,##0", "-3");
    row("count carry", 999999.5, "#,##0", "1,000,000");
    row("negative count", -1234567, "#,##0", "-1,234,567");
    row("large count", 1e15, "#,##0", "1,000,000,000,000,000");
    row("percent", 0.125, "##0.00%", "12.50%");
    row("zero percent", 0, "##0.00%", "0.00%");
    row("over a hundred percent", 1.5, "##0.00%", "150.00%");
    row("percent has no grouping", 12.345, "##0.00%", "1234.50%");
    row("percent of binary 0.145", 0.145, "##0.00%", "14.50%");
    row("smallest percent", 0.00005, "##0.00%", "0.01%");
    row("negative percent", -0.15, "##0.00%", "-15.00%");
    row("discount", 0.15, "#0.00%", "15.00%");
    row("small discount", 0.085, "#0.00%", "8.50%");
    row("page", 5, "000", "005");
    row("page padding never cuts", 1234, "000", "1234");
    row("page zero", 0, "000", "000");
    row("negative page", -5, "000", "-005");
    row("page rounds half up", 2.5, "000", "003");
    row("two digits", 7, "00", "07");
    row("test id", 2, "0000", "0002");
    row("optional decimals", 1.5, "0.##", "1.5");
}

void tst_vb::formats()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(vb::Format(value, pattern), text);
}

void tst_vb::formatsWithManyPatternsInTurn()
{
    // More patterns than the formatting keeps read at once, each asked for again after the others.
    const QStringList patterns = {
        QStringLiteral("$#,##0.00"), QStringLiteral("#,##0"), QStringLiteral("##0.00%"),
        QStringLiteral("000"),       QStringLiteral("0.##"),  QStringLiteral("#0.00%"),
        QStringLiteral("0000"),      QStringLiteral("00"),    QStringLiteral("#,##0.00"),
        QStringLiteral("0.0")};
    const QStringList expected = {
        QStringLiteral("$1,234.57"), QStringLiteral("1,235"),   QStringLiteral("123456.70%"),
        QStringLiteral("1235"),      QStringLiteral("1234.57"), QStringLiteral("123456.70%"),
        QStringLiteral("1235"),      QStringLiteral("1235"),    QStringLiteral("1,234.57"),
        QStringLiteral("1234.6")};
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < patterns.size(); ++i)
            QCOMPARE(vb::Format(1234.567, patterns.at(i)), expected.at(i));
}

// Any value, near a half or not, shows its 15-digit form rounded half away from zero: worked out
// here in whole numbers, as that form's digits times a power of ten.
void tst_vb::formatsRandomValuesFromTheirFifteenDigits()
{
    const auto expected = [](double value, int places) -> QString {
        const QString e = QString::number(std::fabs(value), 'e', 14);
        const qint64 mantissa = QString(e.left(1) + e.mid(2, 14)).toLongLong();
        const int shift = e.mid(e.indexOf(u'e') + 1).toInt() - 14 + places;
        qint64 scaled = mantissa;
        for (int i = 0; i < shift; ++i)
            scaled *= 10;
        qint64 divisor = 1;
        for (int i = 0; i < -shift && i < 17; ++i)
            divisor *= 10;
        // Fifteen digits shifted seventeen places or more round to nothing.
        const qint64 rounded = shift <= -17 ? 0 : (scaled + divisor / 2) / divisor;
        const QString text = places == 0 ? QString::number(rounded)
                                         : QString::number(rounded / 100) + u'.' +
                                               QString::number(rounded % 100).rightJustified(2, u'0');
        return (value < 0 && rounded != 0 ? QStringLiteral("-") : QString()) + text;
    };
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 30000; ++i) {
        const double size = std::pow(10.0, double(random() % 12) - 3);
        double value = double(qint64(random() % 2000001) - 1000000) / 1000000 * size;
        if (i % 2 == 0) { // a half of a cent or of a unit, or a double on either side of it
            const double half = (double(qint64(random() % 2000000) - 1000000) + 0.5) /
                                (i % 4 == 0 ? 100 : 1);
            const int side = int(random() % 3);
            value = side == 0 ? half : std::nextafter(half, side == 1 ? -1e300 : 1e300);
        }
        QCOMPARE(vb::Format(value, QStringLiteral("0.00")), expected(value, 2));
        QCOMPARE(vb::Format(value, QStringLiteral("0")), expected(value, 0));
    }
}

void tst_vb::formatText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("formatted");
    const QString money = QStringLiteral("$#,##0.00");
    QTest::newRow("number") << QStringLiteral("1234.5") << money << QStringLiteral("$1,234.50");
    QTest::newRow("blanks") << QStringLiteral(" 12 ") << money << QStringLiteral("$12.00");
    QTest::newRow("zero-led count")
        << QStringLiteral("01234") << QStringLiteral("#,##0") << QStringLiteral("1,234");
    QTest::newRow("text stays") << QStringLiteral("abc") << money << QStringLiteral("abc");
    QTest::newRow("empty stays") << QString() << money << QString();
}

void tst_vb::formatText()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, formatted);
    QCOMPARE(vb::FormatText(text, pattern), formatted);
}

void tst_vb::dateFormats_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    const QDateTime early(QDate(2005, 1, 2), QTime(3, 4, 5));
    const QDateTime late(QDate(2024, 12, 31), QTime(23, 59, 58));
    QTest::newRow("entry") << early << QStringLiteral("mm/dd/yyyy") << QStringLiteral("01/02/2005");
    QTest::newRow("short") << early << QStringLiteral("mm/dd/yy") << QStringLiteral("01/02/05");
    QTest::newRow("insert id") << early << QStringLiteral("mmddyyyyhhmmss")
                               << QStringLiteral("01022005030405");
    QTest::newRow("insert id, minutes after hour")
        << late << QStringLiteral("mmddyyyyhhmmss") << QStringLiteral("12312024235958");
    QTest::newRow("package id") << late << QStringLiteral("yyyymmddhhmmss")
                                << QStringLiteral("20241231235958");
    QTest::newRow("clock") << late << QStringLiteral("hh:mm") << QStringLiteral("23:59");
    QTest::newRow("unpadded") << early << QStringLiteral("m/d/yyyy") << QStringLiteral("1/2/2005");
    QTest::newRow("names") << late << QStringLiteral("dddd, mmm d, yyyy")
                           << QStringLiteral("Tuesday, Dec 31, 2024");
    // A day's date in the grids' pattern, at the ends of four-digit years and past them.
    const auto day = [](int year, int month, int day) {
        return QDateTime(QDate(year, month, day), QTime(0, 0));
    };
    const QString grid = QStringLiteral("mm/dd/yyyy");
    QTest::newRow("grid day") << day(2024, 12, 31) << grid << QStringLiteral("12/31/2024");
    QTest::newRow("grid first year") << day(1000, 1, 1) << grid << QStringLiteral("01/01/1000");
    QTest::newRow("grid last year") << day(9999, 12, 31) << grid << QStringLiteral("12/31/9999");
    QTest::newRow("grid short year") << day(999, 7, 4) << grid << QStringLiteral("07/04/0999");
}

void tst_vb::dateFormats()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QCOMPARE(vb::FormatDate(when, pattern), text);
    if (when.time() == QTime(0, 0))
        QCOMPARE(vb::FormatDate(when.date(), pattern), text);
}

void tst_vb::trim_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("blanks") << QStringLiteral("  abc  ") << QStringLiteral("abc");
    QTest::newRow("inner blanks stay") << QStringLiteral(" a  b ") << QStringLiteral("a  b");
    QTest::newRow("blank only") << QStringLiteral("   ") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("tabs stay") << QStringLiteral("\tabc\t") << QStringLiteral("\tabc\t");
    QTest::newRow("line break stays") << QStringLiteral(" abc\r\n ") << QStringLiteral("abc\r\n");
}

void tst_vb::trim()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(vb::Trim(text), trimmed);
}

void tst_vb::numberTexts()
{
    QCOMPARE(vb::Str(1440), QStringLiteral(" 1440"));
    QCOMPARE(vb::Str(0), QStringLiteral(" 0"));
    QCOMPARE(vb::Str(-5), QStringLiteral("-5"));
    QCOMPARE(vb::Val(vb::Str(-32768)), -32768.0);

    QCOMPARE(vb::CStr(1234.5), QStringLiteral("1234.5"));
    QCOMPARE(vb::CStr(100), QStringLiteral("100"));
    QCOMPARE(vb::CStr(-0.5), QStringLiteral("-0.5"));
    QCOMPARE(vb::CStr(0.1 + 0.2), QStringLiteral("0.3"));
    QCOMPARE(vb::CStr(0.0001), QStringLiteral("0.0001"));
    QCOMPARE(vb::CStr(0.00001), QStringLiteral("1E-05"));
    QCOMPARE(vb::CStr(1e20), QStringLiteral("1E+20"));
    QCOMPARE(vb::CStr(-0.0), QStringLiteral("0"));

    // Whole numbers and cents are written out by hand: always as the general conversion writes
    // them, whatever the sign, size or rounding of the double.
    std::mt19937_64 random(20261208);
    QList<double> values{0.01, -0.01, 0.1, 0.5, 1,      19.95, 19.9, -19.95, 25.05, 100.1,
                         1e13 - 0.01, -1e13 + 0.01, 9999999999999.99, 12345678901.23, 0.29,
                         0.1 + 0.2, 1.005, 2.675, 1e13, 1e15, 123456789012345.0};
    for (int i = 0; i < 20000; ++i) {
        const auto cents = qint64(random() % 2000000000000000ULL) - 1000000000000000LL;
        values << double(cents) / 100 << double(cents / 100) << double(cents % 100000) / 100 + 0.001;
    }
    for (double value : values)
        QCOMPARE(vb::CStr(value), QString::number(value, 'G', 15));
}

// A workstation set to German must neither refuse "1,234.50" nor write "1.234,50".
void tst_vb::foreignLocaleChangesNothing()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // when the machine has it

    QCOMPARE(vb::ToNumber(QStringLiteral("1,234.50")), std::optional<double>(1234.5));
    QVERIFY(!vb::IsNumeric(QStringLiteral("1.234,50")));
    QCOMPARE(vb::Val(QStringLiteral("2.5")), 2.5);
    QCOMPARE(vb::Format(-1234.5, QStringLiteral("$#,##0.00")), QStringLiteral("-$1,234.50"));
    QCOMPARE(vb::Format(0.125, QStringLiteral("##0.00%")), QStringLiteral("12.50%"));
    QCOMPARE(vb::CStr(1234.5), QStringLiteral("1234.5"));
    QCOMPARE(vb::ToDate(QStringLiteral("12/31/2024")), QDate(2024, 12, 31));
    QCOMPARE(vb::ToDate(QStringLiteral("Dec 31, 2024")), QDate(2024, 12, 31));
    QVERIFY(!vb::IsDate(QStringLiteral("31.12.2024")));
    QCOMPARE(vb::FormatDate(QDate(2024, 3, 4), QStringLiteral("mmm dd, yyyy")),
             QStringLiteral("Mar 04, 2024"));
}

QTEST_GUILESS_MAIN(tst_vb)
#include "tst_vb.moc"

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// The conversions and formats the catalog staff know from the original program: what counts as a
// number or a date, how money, counts, percentages and dates are written, how text is trimmed.
// Every function reads and writes US English (decimal point ".", thousands separator ",", "$",
// month/day/year) whatever the machine's or Qt's default locale says, so a workstation set to
// another language neither refuses "1,234.50" nor writes "1.234,50".
//
// The text of a NULL field is sqlvalue::text (Query.h), not here.
namespace vb {

// True when the text reads as a number: blanks around it, a leading or trailing sign, "$" before
// or after it, a decimal point, thousands separators, an exponent ("1.5E3"), a negative in
// parentheses ("(12.50)"), hexadecimal "&H1F" or octal "&O17". Thousands separators are ignored
// wherever they stand among the whole digits, so "1,2,3" is the number 123, as the original
// accepted it; one before the first digit (",5") or after the decimal point ("1.000,5") is refused.
// Empty or blank text is not numeric.
bool IsNumeric(const QString &text);

// The value of text that IsNumeric accepts; nothing otherwise (also when it overflows a double).
std::optional<double> ToNumber(const QString &text);

// A 16-bit whole number as the original's integer conversion gives it: rounded half to even
// (2.5 gives 2, 3.5 gives 4) and refused, not wrapped, outside -32768..32767. Page numbers and
// positions go through this so an over-long number is a validation message, not a failure.
std::optional<qint16> ToInteger16(const QString &text);
std::optional<qint16> ToInteger16(double value);

// The leading number of a text, 0 when there is none: blanks, tabs and line feeds anywhere are
// skipped, reading stops at the first other character ("12abc" gives 12, "1,234" gives 1). Used
// where the original read stored numbers back leniently (window placement, "0" + a count).
double Val(const QString &text);

// True when the text is a date a user types or the database hands back: month/day/year with "/",
// "-" or "." ("12/31/2024", "1/2/24"), month/day of this year ("12/31"), year-month-day
// ("2024-12-31"), English month names ("Dec 31, 2024", "31-Dec-2024", "December 31 2024"),
// optionally followed by a time ("12/31/2024 10:30 PM", "2024-12-31 22:30:00", "2024-12-31T22:30").
// Two-digit years fall in 1930..2029 (00-29 are 2000s, 30-99 are 1900s). Day and month are never
// swapped to make a date fit: "31/12/2024" is not a date. Blank text and a time alone are not
// dates.
bool IsDate(const QString &text);
// The date of such a text; an invalid QDate when it is not a date.
QDate ToDate(const QString &text);
// The date and time of such a text (midnight when it gives no time); invalid when not a date.
QDateTime ToDateTime(const QString &text);

// A number in one of the program's patterns: "$#,##0.00", "#,##0.00", "#,##0", "##0.00%",
// "#0.00%", "000", "00", "0000" and others of that kind ("0" a digit always written, "#" a digit
// written when needed, "," grouping, "." the decimal point, "%" multiplies by 100; other
// characters are written as they stand, before or after the digits). Rounding is half away from
// zero on the value's 15-digit decimal form, so 0.005 gives 0.01 and 2.675 gives 2.68 although
// the binary double is a hair below. A negative value is written with "-" in front of the whole
// text ("-$1,234.50"), except when it rounds to zero. Padding never cuts: 1234 in "000" is "1234".
QString Format(double value, const QString &pattern);
// Text formatted as the original formatted a text value: numeric text as its number, any other
// text (empty included) unchanged.
QString FormatText(const QString &text, const QString &pattern);

// A date or date and time in a pattern of "d", "dd", "m", "mm", "mmm", "mmmm", "yy", "yyyy", "h",
// "hh", "n", "nn", "s", "ss" and literal characters: "mm/dd/yyyy", "mm/dd/yy", insert IDs
// "mmddyyyyhhmmss" and package IDs "yyyymmddhhmmss". As in the original, "m" or "mm" right after
// an hour means minutes. An invalid date gives empty text.
QString FormatDate(const QDate &date, const QString &pattern);
QString FormatDate(const QDateTime &dateTime, const QString &pattern);

// Blanks (U+0020) removed from both ends; tabs, line breaks and other white space are kept. The
// server's LTRIM/RTRIM remove only blanks too, so a key trimmed here compares equal to the same
// key trimmed in a query. QString::trimmed() would also strip tabs and line breaks.
QString Trim(const QString &text);

// A whole number as the original's Str wrote it: a blank where a negative number has its sign
// (Str(1440) is " 1440", Str(-5) is "-5"). The stored window placement is written this way.
QString Str(long long value);
// A number as the original's CStr wrote it: up to 15 significant digits, no trailing zeros,
// exponent form beyond that range ("1234.5", "0.1", "1E+20", "1E-05").
QString CStr(double value);

} // namespace vb

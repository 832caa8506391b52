// The conversions of typed and stored text: IsNumeric, ToNumber, Val, IsDate, ToDate, Format and
// FormatDate. Checks the promises callers lean on, not only the absence of a crash.
#include "FuzzInput.h"

#include "warehouse/Vb.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList fields = fuzzFields(data, size);
    const QString text = fields.value(0);
    const QString pattern = fields.value(1, QStringLiteral("#,##0.00"));

    // IsNumeric and ToNumber agree; the value of a number is finite.
    const std::optional<double> number = vb::ToNumber(text);
    FUZZ_CHECK(vb::IsNumeric(text) == number.has_value());
    if (number)
        FUZZ_CHECK(std::isfinite(*number));
    const double leading = vb::Val(text);
    FUZZ_CHECK(!std::isnan(leading));
    vb::ToInteger16(text);

    // A date text gives a valid date, anything else an invalid one.
    const QDate date = vb::ToDate(text);
    FUZZ_CHECK(vb::IsDate(text) == date.isValid());
    if (date.isValid()) {
        // What the program writes back reads as the same date.
        const QString written = vb::FormatDate(date, QStringLiteral("mm/dd/yyyy"));
        FUZZ_CHECK(vb::ToDate(written) == date);
    }
    vb::ToDateTime(text);

    // Any pattern formats any value ("#" writes zero as nothing, as the original did). The
    // program's money pattern reads back as the value, to the cent.
    const double value = number.value_or(leading);
    vb::Format(value, pattern);
    if (std::isfinite(value) && std::abs(value) < 1e12) {
        const std::optional<double> back = vb::ToNumber(vb::Format(value, QStringLiteral("0.00")));
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(std::abs(*back - value) <= 0.005 + 1e-9 * std::abs(value));
    }
    vb::FormatText(text, pattern);
    vb::FormatDate(QDateTime(QDate(2024, 2, 29), QTime(13, 5, 9)), pattern);
    vb::Trim(text);
    return 0;
}

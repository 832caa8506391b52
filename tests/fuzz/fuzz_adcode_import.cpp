// The check of one imported ad code row: any fields, any count of them, give a verdict and never
// fail. A row it passes has a mail date.
#include "FuzzInput.h"

#include "mailing/AdCodes.h"
#include "warehouse/Vb.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList fields = fuzzFields(data, size);
    adcodes::AdCodeEntry entry;
    QString *columns[] = {&entry.sourceCode, &entry.catName,  &entry.listDesc,  &entry.listCpm,
                          &entry.pkg,        &entry.pkgDesc,  &entry.pkgCpm,    &entry.media,
                          &entry.offer,      &entry.mailDate, &entry.qtyMailed, &entry.targetResp};
    for (int i = 0; i < int(std::size(columns)); ++i)
        *columns[i] = fields.value(i);

    const QString verdict = adcodes::ValidateImportRow(entry);
    FUZZ_CHECK(!vb::Trim(entry.mailDate).isEmpty());
    if (verdict.isEmpty()) {
        // The row the import then writes: its numbers and its date read.
        FUZZ_CHECK(vb::IsDate(entry.mailDate));
        FUZZ_CHECK(!vb::Trim(entry.sourceCode).isEmpty());
    }
    adcodes::ValidateAdCode(entry);
    adcodes::RecalcTotalCpm(entry.listCpm, entry.pkgCpm);
    return 0;
}

#include "shell/PrinterChoice.h"

#include <QPrintDialog>
#include <QPrinter>

namespace shell {
namespace {

PrinterChooser &chooser()
{
    static PrinterChooser instance;
    return instance;
}

} // namespace

bool choosePrinter(QPrinter &printer, const QString &title, QWidget *parent)
{
    if (chooser())
        return chooser()(printer, title, parent);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void setPrinterChooser(PrinterChooser chooser) { shell::chooser() = std::move(chooser); }

} // namespace shell

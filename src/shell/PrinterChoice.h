#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// The print dialog, the one way a window asks which printer to print on. Tests put a chooser of
// their own in its place (for instance one that prints to a PDF file), as they do with Dialogs.
//
//     QPrinter printer(QPrinter::HighResolution);
//     if (!choosePrinter(printer, windowTitle(), this))
//         return;
namespace shell {

using PrinterChooser =
    std::function<bool(QPrinter &printer, const QString &title, QWidget *parent)>;

// Shows the print dialog for the printer; true when the operator chose to print.
bool choosePrinter(QPrinter &printer, const QString &title, QWidget *parent);
// Replaces the print dialog; an empty chooser brings it back.
void setPrinterChooser(PrinterChooser chooser);

} // namespace shell

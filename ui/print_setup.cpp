#include "ui/print_setup.h"

#include <QPrinter>

CPrintSetup::CPrintSetup() = default;

CPrintSetup::~CPrintSetup() = default;

QPrinter& CPrintSetup::Printer() {
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

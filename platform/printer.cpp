// The printer model in use.
#include "platform/printer.h"

namespace platform {

namespace {

std::shared_ptr<PrinterMetrics>& Current() {
    static std::shared_ptr<PrinterMetrics> current = std::make_shared<FixedPitchPrinter>();
    return current;
}

}  // namespace

const PrinterMetrics& PrinterMetricsInUse() { return *Current(); }

std::shared_ptr<PrinterMetrics> SetPrinterMetrics(std::shared_ptr<PrinterMetrics> metrics) {
    if (!metrics) metrics = std::make_shared<FixedPitchPrinter>();
    std::shared_ptr<PrinterMetrics> previous = std::move(Current());
    Current() = std::move(metrics);
    return previous;
}

}  // namespace platform

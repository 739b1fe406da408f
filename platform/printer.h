#pragma once
// Printer widths: the printable width of the current printer and the width a
// text takes on it, in one unit. The default is a fixed-pitch printer; tests
// and callers install their own model.

#include <memory>
#include <string>

namespace platform {

class PrinterMetrics {
public:
    virtual ~PrinterMetrics() = default;
    virtual double PrintableWidth() const = 0;
    virtual double TextWidth(const std::string& sText) const = 0;
};

// Every octet takes one cell: 120 twips (12 characters an inch) on a line of
// 11,520 twips (8 inches) by default.
class FixedPitchPrinter : public PrinterMetrics {
public:
    explicit FixedPitchPrinter(double dCellWidth = 120, double dPrintableWidth = 11520)
        : cell_(dCellWidth), printable_(dPrintableWidth) {}
    double PrintableWidth() const override { return printable_; }
    double TextWidth(const std::string& sText) const override { return cell_ * static_cast<double>(sText.size()); }

private:
    double cell_;
    double printable_;
};

// The model in use (the default fixed-pitch printer until one is set).
const PrinterMetrics& PrinterMetricsInUse();
// Installs a model and returns the one it replaces; null restores the default.
std::shared_ptr<PrinterMetrics> SetPrinterMetrics(std::shared_ptr<PrinterMetrics> metrics);

// Installs a model for as long as it lives.
class ScopedPrinterMetrics {
public:
    explicit ScopedPrinterMetrics(std::shared_ptr<PrinterMetrics> metrics)
        : previous_(SetPrinterMetrics(std::move(metrics))) {}
    ~ScopedPrinterMetrics() { SetPrinterMetrics(std::move(previous_)); }
    ScopedPrinterMetrics(const ScopedPrinterMetrics&) = delete;
    ScopedPrinterMetrics& operator=(const ScopedPrinterMetrics&) = delete;

private:
    std::shared_ptr<PrinterMetrics> previous_;
};

}  // namespace platform

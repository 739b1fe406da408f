#pragma once
// What the exit-check controller needs of its window. Sizes and positions are
// in twips; colours are 32-bit colour values (0x00BBGGRR, or a system colour
// 0x800000nn). The window binds these to real widgets; tests use a fake.

#include <cstdint>
#include <string>

namespace TrestleColor {
inline constexpr int32_t Red = 255;
inline constexpr int32_t Green = 65280;
// The system's button-face colour.
inline constexpr int32_t ButtonFace = static_cast<int32_t>(0x8000000Fu);
// Only the two verdict colours mean that a verdict is shown.
inline constexpr bool ShowsVerdict(int32_t color) { return color == Red || color == Green; }
}  // namespace TrestleColor

class TrestleView {
public:
    virtual ~TrestleView() = default;

    // The window (outer size) and the screen.
    virtual double Left() const = 0;
    virtual void Left(double value) = 0;
    virtual double Top() const = 0;
    virtual void Top(double value) = 0;
    virtual double Width() const = 0;
    virtual void Width(double value) = 0;
    virtual double Height() const = 0;
    virtual void Height(double value) = 0;
    virtual double ScreenWidth() const = 0;
    virtual double ScreenHeight() const = 0;
    virtual void Caption(const std::string& value) = 0;
    // Shows the window, not modally.
    virtual void Show() = 0;

    // The outer panel, whose colour shows the verdict.
    virtual void Frame2Left(double value) = 0;
    virtual void Frame2Top(double value) = 0;
    virtual void Frame2Width(double value) = 0;
    virtual void Frame2Height(double value) = 0;
    virtual int32_t Frame2BackColor() const = 0;
    virtual void Frame2BackColor(int32_t value) = 0;

    // The inner panel.
    virtual double Frame1Width() const = 0;
    virtual double Frame1Height() const = 0;
    virtual void Frame1Left(double value) = 0;
    virtual void Frame1Top(double value) = 0;

    // The barcode box. Setting the text raises the box's change event when the
    // text differs. Selection positions count octets of the text.
    virtual std::string txtBarcodeText() const = 0;
    virtual void txtBarcodeText(const std::string& value) = 0;
    virtual void txtBarcodeSelStart(int32_t value) = 0;
    virtual void txtBarcodeSelLength(int32_t value) = 0;
    virtual void txtBarcodeSetFocus() = 0;

    // The reset timer.
    virtual void Timer1Interval(int32_t milliseconds) = 0;
    virtual bool Timer1Enabled() const = 0;
    virtual void Timer1Enabled(bool value) = 0;

    // A modal message box with an OK button only; returns when it is closed.
    virtual void MessageBox(const std::string& text, const std::string& title) = 0;
    // Ends the program at once, without unload or destructor code. In the
    // program this does not return; a test's view records it and returns.
    virtual void EndProgram() = 0;
};

// Thrown after the view's EndProgram returns (only a test's view returns), so
// that nothing more of the ending event runs.
struct ProgramEnded {};

[[noreturn]] inline void EndTheProgram(TrestleView& view) {
    view.EndProgram();
    throw ProgramEnded{};
}

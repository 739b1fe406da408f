#pragma once
// The exit-check window in Qt Widgets: the controls keep their designed names
// (frmTrestleMain, Frame2, Frame1, lblConstant, txtBarcode, Command1, Timer1),
// sizes given in twips become pixels at 15 twips a pixel, and every window
// event is handed to the controller (frm_trestle_main.h).

#include <QWidget>
#include <functional>

#include "app/trestle_view.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class frmTrestleMain;

class TrestleWindow : public QWidget, public TrestleView {
public:
    TrestleWindow();

    // The controller that receives the window's events.
    void Bind(frmTrestleMain* controller) { controller_ = controller; }
    // What ending the program does: leaves the process at once unless replaced (tests).
    std::function<void()> EndAction;

    static constexpr double kTwipsPerPixel = 15;

    // TrestleView
    double Left() const override;
    void Left(double value) override;
    double Top() const override;
    void Top(double value) override;
    double Width() const override;
    void Width(double value) override;
    double Height() const override;
    void Height(double value) override;
    double ScreenWidth() const override;
    double ScreenHeight() const override;
    void Caption(const std::string& value) override;
    void Show() override;
    void Frame2Left(double value) override;
    void Frame2Top(double value) override;
    void Frame2Width(double value) override;
    void Frame2Height(double value) override;
    int32_t Frame2BackColor() const override { return frame2Color_; }
    void Frame2BackColor(int32_t value) override;
    double Frame1Width() const override;
    double Frame1Height() const override;
    void Frame1Left(double value) override;
    void Frame1Top(double value) override;
    std::string txtBarcodeText() const override;
    void txtBarcodeText(const std::string& value) override;
    void txtBarcodeSelStart(int32_t value) override;
    void txtBarcodeSelLength(int32_t value) override;
    void txtBarcodeSetFocus() override;
    void Timer1Interval(int32_t milliseconds) override;
    bool Timer1Enabled() const override;
    void Timer1Enabled(bool value) override;
    void MessageBox(const std::string& text, const std::string& title) override;
    void EndProgram() override;

    // The colour that a 32-bit colour value stands for here.
    static QColor ToQColor(int32_t value);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Hands one event to the controller; nothing escapes into Qt's event loop.
    void Dispatch(void (frmTrestleMain::*handler)());
    QSize FrameExtra() const;

    frmTrestleMain* controller_ = nullptr;
    QGroupBox* frame2_;
    QGroupBox* frame1_;
    QLabel* lblConstant_;
    QLineEdit* txtBarcode_;
    QPushButton* command1_;
    QTimer* timer1_;
    // Ticks come while the timer is enabled and its interval is above 0; it
    // is enabled from the start, as the designed timer is.
    void UpdateTimer();
    bool timer1Enabled_ = true;
    int32_t frame2Color_ = TrestleColor::ButtonFace;
    // The text last put into the box, as octets and as shown, and the selection's start in octets.
    std::string boxOctets_;
    QString boxShown_;
    int32_t selStartOctets_ = 0;
};

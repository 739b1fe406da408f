#pragma once
// For tests: a view without a display. It keeps the controls' state, logs the
// window operations in order, raises the box's change event as a window would,
// and types keys and presses Enter as a scanner does.

#include <functional>
#include <string>
#include <vector>

#include "app/frm_trestle_main.h"
#include "app/trestle_view.h"

class FakeTrestleView : public TrestleView {
public:
    frmTrestleMain* Form = nullptr;

    double left = 0, top = 0, width = 7050 + 120, height = 2505 + 420;
    double screenWidth = 19200, screenHeight = 14400;
    std::string caption = "frmTrestleMain";
    bool shown = false;
    double frame2Left = 120, frame2Top = 120, frame2Width = 8535, frame2Height = 5415;
    int32_t frame2Color = TrestleColor::ButtonFace;
    double frame1Left = 120, frame1Top = 120, frame1Width = 6495, frame1Height = 2175;
    std::string text = "Text1";
    int32_t selStart = 0, selLength = 0;
    bool focused = false;
    int32_t timerInterval = 0;
    bool timerEnabled = true;
    std::vector<std::pair<std::string, std::string>> messages;  // text, title
    bool ended = false;
    // Window operations in order, as "Name value".
    std::vector<std::string> log;
    // Setting the window's size raises its resize event, as the platform does.
    bool resizeOnSize = false;

    // Keys typed into the box: each replaces the selection or is added at the end.
    void Type(const std::string& keys) {
        for (char c : keys) {
            std::string next = text;
            if (selLength > 0) next.replace(static_cast<size_t>(selStart), static_cast<size_t>(selLength), "");
            next += c;
            selStart = static_cast<int32_t>(next.size());
            selLength = 0;
            SetText(next);
        }
    }
    // A scan: the keys, then Enter, which presses the default button.
    void Scan(const std::string& barcode) {
        Type(barcode);
        Form->Command1_Click();
    }

    double Left() const override { return left; }
    void Left(double v) override { left = v; Log("Left", v); }
    double Top() const override { return top; }
    void Top(double v) override { top = v; Log("Top", v); }
    double Width() const override { return width; }
    void Width(double v) override {
        width = v;
        Log("Width", v);
        if (resizeOnSize) Form->Form_Resize();
    }
    double Height() const override { return height; }
    void Height(double v) override {
        height = v;
        Log("Height", v);
        if (resizeOnSize) Form->Form_Resize();
    }
    double ScreenWidth() const override { return screenWidth; }
    double ScreenHeight() const override { return screenHeight; }
    void Caption(const std::string& v) override { caption = v; log.push_back("Caption " + v); }
    void Show() override { shown = true; log.push_back("Show"); }
    void Frame2Left(double v) override { frame2Left = v; Log("Frame2Left", v); }
    void Frame2Top(double v) override { frame2Top = v; Log("Frame2Top", v); }
    void Frame2Width(double v) override { frame2Width = v; }
    void Frame2Height(double v) override { frame2Height = v; }
    int32_t Frame2BackColor() const override { return frame2Color; }
    void Frame2BackColor(int32_t v) override { frame2Color = v; }
    double Frame1Width() const override { return frame1Width; }
    double Frame1Height() const override { return frame1Height; }
    void Frame1Left(double v) override { frame1Left = v; }
    void Frame1Top(double v) override { frame1Top = v; }
    std::string txtBarcodeText() const override { return text; }
    void txtBarcodeText(const std::string& v) override {
        log.push_back("txtBarcode " + v);
        selStart = static_cast<int32_t>(v.size());
        selLength = 0;
        SetText(v);
    }
    void txtBarcodeSelStart(int32_t v) override { selStart = v; }
    void txtBarcodeSelLength(int32_t v) override { selLength = v; }
    void txtBarcodeSetFocus() override { focused = true; log.push_back("SetFocus"); }
    void Timer1Interval(int32_t ms) override { timerInterval = ms; Log("Timer1Interval", ms); }
    bool Timer1Enabled() const override { return timerEnabled; }
    void Timer1Enabled(bool v) override { timerEnabled = v; }
    void MessageBox(const std::string& t, const std::string& title) override {
        messages.emplace_back(t, title);
        log.push_back("MessageBox " + t);
    }
    void EndProgram() override {
        ended = true;
        log.push_back("End");
    }

private:
    void SetText(const std::string& v) {
        if (v == text) return;
        text = v;
        if (Form) Form->txtBarcode_Change();
    }
    void Log(const std::string& name, double v) {
        std::string s = std::to_string(v);
        s.erase(s.find_last_not_of('0') + 1);
        if (!s.empty() && s.back() == '.') s.pop_back();
        log.push_back(name + " " + s);
    }
};

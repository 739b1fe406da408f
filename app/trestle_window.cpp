#include "app/trestle_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStringDecoder>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/frm_trestle_main.h"
#include "marc/display/display_text.h"

namespace {

int Pixels(double twips) { return static_cast<int>(std::lround(twips / TrestleWindow::kTwipsPerPixel)); }
double Twips(int pixels) { return pixels * TrestleWindow::kTwipsPerPixel; }

// Decodes a text as UTF-8; false when it is not valid UTF-8. The decoder's
// result is read, since it decodes only when its result is taken.
bool DecodeUtf8(const std::string& text, QString& decoded) {
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    decoded = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !decoder.hasError();
}

bool IsUtf8(const std::string& text) {
    QString decoded;
    return DecodeUtf8(text, decoded);
}

// Text of the program is octets: UTF-8 when it is valid UTF-8, else
// Windows-1252, the set that the desk's settings files are written in on its
// own platform; an 8-bit text shows one character per octet.
QString FromOctets(const std::string& text) {
    QString decoded;
    if (DecodeUtf8(text, decoded)) return decoded;
    decoded.resize(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        const auto octet = static_cast<unsigned char>(text[i]);
        char16_t character = octet;
        if (octet >= 0x80) {
            // The five octets that the set leaves undefined show as U+FFFD.
            const uint16_t defined = display_text::Windows1252CodePoint(octet);
            character = defined ? defined : char16_t{0xFFFD};
        }
        decoded[static_cast<qsizetype>(i)] = QChar(character);
    }
    return decoded;
}

// The characters that the first n octets of a text make up, read as FromOctets reads the whole text.
int CharactersIn(const std::string& octets, int32_t n) {
    if (n <= 0) return 0;
    if (static_cast<size_t>(n) >= octets.size()) return static_cast<int>(FromOctets(octets).size());
    if (!IsUtf8(octets)) return n;
    QString prefix;
    DecodeUtf8(octets.substr(0, static_cast<size_t>(n)), prefix);
    return static_cast<int>(prefix.size());
}

void Place(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

}  // namespace

TrestleWindow::TrestleWindow() {
    setObjectName("frmTrestleMain");
    // The client area as designed: 7050 x 2505 twips.
    resize(Pixels(7050), Pixels(2505));
    setMinimumSize(Pixels(frmTrestleMain::kMinimumWidth), Pixels(frmTrestleMain::kMinimumHeight));

    frame2_ = new QGroupBox("Frame2", this);
    frame2_->setObjectName("Frame2");
    frame2_->setAutoFillBackground(true);
    Place(frame2_, 120, 120, 8535, 5415);

    frame1_ = new QGroupBox(frame2_);
    frame1_->setObjectName("Frame1");
    frame1_->setAutoFillBackground(true);
    Place(frame1_, 120, 120, 6495, 2175);

    QFont font("MS Sans Serif", 12);
    lblConstant_ = new QLabel("Barcode:", frame1_);
    lblConstant_->setObjectName("lblConstant");
    lblConstant_->setFont(font);
    Place(lblConstant_, 240, 360, 3615, 255);

    txtBarcode_ = new QLineEdit("Text1", frame1_);
    txtBarcode_->setObjectName("txtBarcode");
    txtBarcode_->setFont(font);
    Place(txtBarcode_, 240, 720, 6015, 495);

    command1_ = new QPushButton("Check", frame1_);
    command1_->setObjectName("Command1");
    Place(command1_, 5040, 1320, 1215, 495);

    setTabOrder(txtBarcode_, command1_);

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");

    Frame2BackColor(TrestleColor::ButtonFace);

    // The check button is the window's default button: Enter presses it, as a scanner sends it.
    for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, command1_, &QPushButton::click);
    }
    connect(command1_, &QPushButton::clicked, this, [this] { Dispatch(&frmTrestleMain::Command1_Click); });
    connect(txtBarcode_, &QLineEdit::textChanged, this, [this] { Dispatch(&frmTrestleMain::txtBarcode_Change); });
    connect(timer1_, &QTimer::timeout, this, [this] { Dispatch(&frmTrestleMain::Timer1_Timer); });

    EndAction = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
}

void TrestleWindow::Dispatch(void (frmTrestleMain::*handler)()) {
    if (!controller_) return;
    try {
        (controller_->*handler)();
    } catch (...) {
        // The controller reports its errors itself; an end signalled from a
        // nested event stops here rather than unwinding through Qt.
    }
}

void TrestleWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Dispatch(&frmTrestleMain::Form_Resize);
}

void TrestleWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Dispatch(&frmTrestleMain::Form_Unload);
}

QSize TrestleWindow::FrameExtra() const { return frameGeometry().size() - size(); }

double TrestleWindow::Left() const { return Twips(x()); }
void TrestleWindow::Left(double value) { move(Pixels(value), y()); }
double TrestleWindow::Top() const { return Twips(y()); }
void TrestleWindow::Top(double value) { move(x(), Pixels(value)); }
double TrestleWindow::Width() const { return Twips(frameGeometry().width()); }
void TrestleWindow::Width(double value) { resize(Pixels(value) - FrameExtra().width(), height()); }
double TrestleWindow::Height() const { return Twips(frameGeometry().height()); }
void TrestleWindow::Height(double value) { resize(width(), Pixels(value) - FrameExtra().height()); }

double TrestleWindow::ScreenWidth() const {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? Twips(s->geometry().width()) : 0;
}
double TrestleWindow::ScreenHeight() const {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? Twips(s->geometry().height()) : 0;
}

void TrestleWindow::Caption(const std::string& value) { setWindowTitle(FromOctets(value)); }
void TrestleWindow::Show() {
    show();
    activateWindow();
}

void TrestleWindow::Frame2Left(double value) { frame2_->move(Pixels(value), frame2_->y()); }
void TrestleWindow::Frame2Top(double value) { frame2_->move(frame2_->x(), Pixels(value)); }
void TrestleWindow::Frame2Width(double value) { frame2_->resize(Pixels(value), frame2_->height()); }
void TrestleWindow::Frame2Height(double value) { frame2_->resize(frame2_->width(), Pixels(value)); }

QColor TrestleWindow::ToQColor(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    if (v & 0x80000000u) return QApplication::palette().color(QPalette::Button);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

void TrestleWindow::Frame2BackColor(int32_t value) {
    frame2Color_ = value;
    QPalette palette = frame2_->palette();
    palette.setColor(QPalette::Window, ToQColor(value));
    frame2_->setPalette(palette);
    // The inner panel keeps the button face; only the outer one shows the verdict.
    QPalette inner = frame1_->palette();
    inner.setColor(QPalette::Window, ToQColor(TrestleColor::ButtonFace));
    frame1_->setPalette(inner);
}

double TrestleWindow::Frame1Width() const { return Twips(frame1_->width()); }
double TrestleWindow::Frame1Height() const { return Twips(frame1_->height()); }
void TrestleWindow::Frame1Left(double value) { frame1_->move(Pixels(value), frame1_->y()); }
void TrestleWindow::Frame1Top(double value) { frame1_->move(frame1_->x(), Pixels(value)); }

std::string TrestleWindow::txtBarcodeText() const {
    // The text that the program put there reads back as the octets it was given;
    // typed text reads as UTF-8.
    QString text = txtBarcode_->text();
    if (text == boxShown_) return boxOctets_;
    return text.toUtf8().toStdString();
}

void TrestleWindow::txtBarcodeText(const std::string& value) {
    boxOctets_ = value;
    boxShown_ = FromOctets(value);
    txtBarcode_->setText(boxShown_);
}

void TrestleWindow::txtBarcodeSelStart(int32_t value) {
    std::string octets = txtBarcodeText();
    selStartOctets_ = std::clamp<int32_t>(value, 0, static_cast<int32_t>(octets.size()));
    txtBarcode_->setCursorPosition(CharactersIn(octets, selStartOctets_));
}

void TrestleWindow::txtBarcodeSelLength(int32_t value) {
    // Positions count octets of the text in the form the program gave it, so a
    // verdict text of an 8-bit set is selected whole, as one in UTF-8 is.
    std::string octets = txtBarcodeText();
    int32_t startOctets = std::min(selStartOctets_, static_cast<int32_t>(octets.size()));
    int start = CharactersIn(octets, startOctets);
    int end = CharactersIn(octets, startOctets + std::max(value, 0));
    txtBarcode_->setSelection(start, end - start);
}

void TrestleWindow::txtBarcodeSetFocus() { txtBarcode_->setFocus(Qt::OtherFocusReason); }

void TrestleWindow::Timer1Interval(int32_t milliseconds) {
    timer1_->setInterval(milliseconds);
    UpdateTimer();
}
bool TrestleWindow::Timer1Enabled() const { return timer1Enabled_; }
void TrestleWindow::Timer1Enabled(bool value) {
    timer1Enabled_ = value;
    UpdateTimer();
}
void TrestleWindow::UpdateTimer() {
    // Enabling a running timer does not restart its count.
    bool ticks = timer1Enabled_ && timer1_->interval() > 0;
    if (ticks && !timer1_->isActive()) timer1_->start();
    if (!ticks) timer1_->stop();
}

void TrestleWindow::MessageBox(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::NoIcon, FromOctets(title), FromOctets(text), QMessageBox::Ok, this);
    box.exec();
}

void TrestleWindow::EndProgram() {
    if (EndAction) EndAction();
}

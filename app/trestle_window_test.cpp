// The real window, offscreen: a barcode typed and Enter pressed, the panel's
// colour and the box's text read back, and the reset timer clearing them.

#include "app/trestle_window.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iconv.h>
#include <memory>

#include "app/frm_trestle_main.h"
#include "common/test_support.h"
#include "db/test_database.h"
#include "platform/events.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        pump_ = std::make_unique<platform::ScopedEventPump>([] { QCoreApplication::processEvents(); });
        testsupport::WriteFile(settings.File("ClearedForExit.INI"),
                               "[Connection]\nDSN=" + database.Dsn() +
                                   "\nTNP=main\n[Read]\nUID=circread\nPWD=secret\n"
                                   "[Behavior]\nGood=good.wav\nBad=bad.wav\nSecondsBeforeReset=0\n"
                                   "[Circulation]\nPatronGroupsExcluded=5,15\n"
                                   "[Texts]\nProgramDisplayTitle=Exit desk \x96 sortie\n"
                                   // Texts in the settings file's own octets: Windows-1252 and UTF-8.
                                   "MessageItemIsNotCheckedOut=Pas pr\xEAt\xE9 ; \xE0 remettre en rayon \x93\x80\x94\n"
                                   "MessageBarcodeNotInVoyager=Code inconnu \xE2\x80\x94 hors catalogue\n"
                                   // Octets that Windows-1252 leaves undefined.
                                   "MessageBarcodeNotInExpectedForm=Refus\xE9 \x81\x8D\x8F\x90\x9D fin\n");
        window = std::make_unique<TrestleWindow>();
        window->EndAction = [this] { ended = true; };
        form = std::make_unique<frmTrestleMain>(*window, "");
        window->Bind(form.get());
        form->MyCode.PlaySound = [this](const std::string& file) { sounds.push_back(file); };
        form->Form_Load();
        ASSERT_FALSE(form->Ended());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        box = window->findChild<QLineEdit*>("txtBarcode");
        frame2 = window->findChild<QGroupBox*>("Frame2");
        frame1 = window->findChild<QGroupBox*>("Frame1");
        ASSERT_NE(box, nullptr);
        ASSERT_NE(frame2, nullptr);
        ASSERT_NE(frame1, nullptr);
    }
    void TearDown() override {
        form.reset();
        window.reset();
        pump_.reset();
    }

    QColor PanelColor() const { return frame2->palette().color(QPalette::Window); }
    void ScanAndEnter(const QString& barcode) {
        box->setFocus();
        QTest::keyClicks(box, barcode);
        QTest::keyClick(box, Qt::Key_Return);
    }

    testsupport::TempSettingsFolder settings;
    testsupport::LibraryTestDatabase database{{std::string(EXITDESK_SOURCE_DIR) + "/testdata/exit_check_items.sql"}};
    std::unique_ptr<TrestleWindow> window;
    std::unique_ptr<frmTrestleMain> form;
    QLineEdit* box = nullptr;
    QGroupBox* frame2 = nullptr;
    QGroupBox* frame1 = nullptr;
    std::vector<std::string> sounds;
    bool ended = false;

private:
    std::unique_ptr<platform::ScopedEventPump> pump_;
};

TEST_F(Window, HasTheNamedControls) {
    EXPECT_EQ(window->objectName(), "frmTrestleMain");
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Exit desk \u2013 sortie"));
    EXPECT_EQ(frame2->title(), "Frame2");
    EXPECT_EQ(frame1->parentWidget(), frame2);
    auto* label = window->findChild<QLabel*>("lblConstant");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Barcode:");
    auto* button = window->findChild<QPushButton*>("Command1");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Check");
    auto* timer = window->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_EQ(box->text(), "");
    EXPECT_EQ(frame2->pos(), QPoint(0, 0));
    EXPECT_EQ(PanelColor(), TrestleWindow::ToQColor(TrestleColor::ButtonFace));
}

TEST_F(Window, ScanEnterVerdictAndReset) {
    struct Case {
        QString barcode;
        QString text;
        QColor color;
        std::string sound;
    };
    const Case cases[] = {
        {"31234000000016", "Item OK to leave building", QColor(0, 255, 0), "good.wav"},
        {"31234000000024", "Carrel charge; may not leave building", QColor(255, 0, 0), "bad.wav"},
        {"", "No barcode supplied", QColor(255, 0, 0), "bad.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.barcode.toStdString());
        sounds.clear();
        ScanAndEnter(c.barcode);
        EXPECT_EQ(box->text(), c.text);
        EXPECT_EQ(PanelColor(), c.color);
        EXPECT_EQ(box->selectedText(), c.text);  // the next scan replaces it
        EXPECT_TRUE(box->hasFocus());
        EXPECT_EQ(sounds, std::vector<std::string>{c.sound});
        // For a look at the window: EXITDESK_SCREENSHOTS names a folder for pictures of each verdict.
        if (const char* folder = std::getenv("EXITDESK_SCREENSHOTS"))
            window->grab().save(QString(folder) + "/verdict-" + (c.barcode.isEmpty() ? "empty" : c.barcode) + ".png");
        // SecondsBeforeReset is 0: a tick within about a second clears the window.
        QTRY_COMPARE_WITH_TIMEOUT(box->text(), QString(), 5000);
        EXPECT_EQ(PanelColor(), TrestleWindow::ToQColor(TrestleColor::ButtonFace));
    }
}

TEST_F(Window, TheNextScanReplacesAVerdictTextOfAnyEncoding) {
    struct Case {
        QString barcode;
        std::string octets;  // the verdict text as the settings file holds it
        QString shown;       // what the box shows
        int characters;      // the characters of the selection
    };
    const Case cases[] = {
        {"31234000000032", "Pas pr\xEAt\xE9 ; \xE0 remettre en rayon \x93\x80\x94",
         QString::fromUtf8("Pas pr\u00EAt\u00E9 ; \u00E0 remettre en rayon \u201C\u20AC\u201D"), 35},
        {"99999999999999", "Code inconnu \xE2\x80\x94 hors catalogue",
         QString::fromUtf8("Code inconnu \u2014 hors catalogue"), 29},
        {"3123400000A017", "Refus\xE9 \x81\x8D\x8F\x90\x9D fin",
         QString::fromUtf8("Refus\u00E9 \uFFFD\uFFFD\uFFFD\uFFFD\uFFFD fin"), 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.octets);
        ScanAndEnter(c.barcode);
        EXPECT_EQ(PanelColor(), QColor(255, 0, 0));
        EXPECT_EQ(box->text(), c.shown);
        // The whole text is selected and reads back as the octets that were set.
        EXPECT_EQ(box->selectedText(), c.shown);
        EXPECT_EQ(box->selectionStart(), 0);
        EXPECT_EQ(box->selectionLength(), c.characters);
        EXPECT_EQ(window->txtBarcodeText(), c.octets);
        // So the next scan replaces all of it.
        ScanAndEnter("31234000000016");
        EXPECT_EQ(box->text(), "Item OK to leave building");
        EXPECT_EQ(PanelColor(), QColor(0, 255, 0));
    }
}

// Every octet from 0x80 up, in a text that is not UTF-8, shows as the C
// library's Windows-1252 converter reads it, and as U+FFFD where that set
// defines no character: one character per octet.
TEST_F(Window, EightBitTextsShowAsWindows1252) {
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int octet = 0x80; octet <= 0xFF; ++octet) {
        SCOPED_TRACE(octet);
        char in = static_cast<char>(octet);
        char out[8];
        char* inPtr = &in;
        char* outPtr = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const bool defined = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
        const QString character = defined ? QString::fromUtf8(out, outPtr - out) : QString(QChar(0xFFFD));
        window->txtBarcodeText(std::string("<") + in + ">");
        EXPECT_EQ(box->text(), "<" + character + ">");
    }
    iconv_close(cd);
}

TEST_F(Window, TypingClearsTheColourAtOnce) {
    ScanAndEnter("31234000000016");
    ASSERT_EQ(PanelColor(), QColor(0, 255, 0));
    QTest::keyClicks(box, "31");
    EXPECT_EQ(box->text(), "31");
    EXPECT_EQ(PanelColor(), TrestleWindow::ToQColor(TrestleColor::ButtonFace));
}

TEST_F(Window, ResizeKeepsTheLeastSizeAndCentresTheInnerPanel) {
    window->resize(100, 50);
    QTRY_VERIFY(window->frameGeometry().width() >= 356 && window->frameGeometry().height() >= 203);
    window->resize(800, 600);
    QTRY_COMPARE(window->size(), QSize(800, 600));
    // The outer panel takes the window's outer size; the inner one is centred,
    // 250 twips above the middle, at 15 twips a pixel.
    const QSize outer = window->frameGeometry().size();
    EXPECT_EQ(frame2->size(), outer);
    const double width = outer.width() * 15.0, height = outer.height() * 15.0;
    EXPECT_EQ(frame1->pos(), QPoint(static_cast<int>(std::lround((width - 6495) / 2 / 15)),
                                    static_cast<int>(std::lround((height - 500 - 2175) / 2 / 15))));
}

TEST_F(Window, ClosingEndsTheProgram) {
    ScanAndEnter("31234000000016");
    window->close();
    EXPECT_TRUE(ended);
    EXPECT_TRUE(form->Ended());
}

}  // namespace

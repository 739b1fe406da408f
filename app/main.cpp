// The exit-check program: one window that checks scanned barcodes.

#include <QApplication>

#include "app/command_line.h"
#include "app/frm_trestle_main.h"
#include "app/trestle_window.h"
#include "platform/events.h"

int main(int argc, char** argv) {
    // The command line as the program was given it, before Qt takes its own options out.
    std::string arguments = TrestleCommandLine::ArgumentsText(argc, argv);
    QApplication application(argc, argv);
    platform::SetEventPump([] { QCoreApplication::processEvents(); });

    TrestleWindow window;
    frmTrestleMain form(window, arguments);
    window.Bind(&form);
    form.Form_Load();
    return QApplication::exec();
}

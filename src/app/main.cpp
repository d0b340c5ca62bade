#include "window/mainwindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt would abort with a core dump; say it plainly instead.
bool DisplayMissing() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const bool platformChosen = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    return !platformChosen && qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    if (DisplayMissing()) {
        std::fputs(
            "velmora: 找不到图形显示（DISPLAY 与 WAYLAND_DISPLAY 均未设置），无法打开窗口。\n"
            "velmora: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
            "cannot open the window.\n",
            stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setDesktopFileName(QStringLiteral("velmora"));

    // Qt's own texts (context menus of the text boxes) in the window's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    velmora::MainWindow window;
    window.start();
    window.show();
    return QApplication::exec();
}

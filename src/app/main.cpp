#include "window/look.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <vector>

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
    std::vector<char*> arguments(argv, argv + argc);
#ifdef Q_OS_WIN
    // One font engine everywhere: the layout is drawn and tested with FreeType's reading of the
    // fonts. Qt's GDI and DirectWrite engines measure the same faces with other line heights,
    // which wraps and clips the fixed captions. A platform the user chose is kept.
    char platform[] = "-platform";
    char freetype[] = "windows:fontengine=freetype";
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        arguments.insert(arguments.begin() + 1, {platform, freetype});
    }
#endif
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    QApplication app(count, arguments.data());
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setDesktopFileName(QStringLiteral("velmora"));

    // Qt's own texts (context menus of the text boxes) in the window's language. The Windows
    // program carries them; elsewhere they come with Qt.
#ifdef VELMORA_QT_TRANSLATIONS
    const QString translations = QStringLiteral(":/velmora/translations");
#else
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), translations)) {
        QApplication::installTranslator(&qtTexts);
    }

#ifdef Q_OS_WIN
    // Where the system's face for Qt's own texts is missing (Wine without its fonts), Qt would read
    // every installed font for a stand-in when the first text box is made; the window's face
    // stands in instead.
    QFont texts = QApplication::font();
    if (QFontDatabase::styles(texts.family()).isEmpty()) {
        texts.setFamilies(velmora::SongFont(texts.pointSizeF()).families());
        QApplication::setFont(texts);
    }
#endif

    velmora::MainWindow window;
    window.start();
    window.show();
    return QApplication::exec();
}

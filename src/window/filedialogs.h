#pragma once

#include <QString>

class QWidget;

namespace velmora {

// The dialogs of a save: the platform's file dialog and a number asked for; tests answer in
// their place.
class FileDialogs {
public:
    struct Save {
        QString title;
        QString suggested;  // folder and file name
        QString filter;     // CSV 文件 (*.csv)
        QString suffix;     // added to a name typed without one: csv
    };
    virtual ~FileDialogs() = default;
    // The file the user chose to save to, or an empty string if they cancelled.
    virtual QString saveFileName(QWidget* parent, const Save& save) = 0;
    // A number from 1 to `most`, `suggested` at first; 0 if they cancelled.
    virtual int askNumber(QWidget* parent, const QString& title, const QString& label,
                          int suggested, int most) = 0;
};

// The real ones: the platform's file dialog and Qt's number dialog.
class PlatformFileDialogs final : public FileDialogs {
public:
    QString saveFileName(QWidget* parent, const Save& save) override;
    int askNumber(QWidget* parent, const QString& title, const QString& label, int suggested,
                  int most) override;
};

}  // namespace velmora

#pragma once

#include <QString>

class QWidget;

namespace velmora {

// The platform's file dialog; tests answer in its place.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file the user chose to save to, or an empty string if they cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& suggested) = 0;
};

}  // namespace velmora

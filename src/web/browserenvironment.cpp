#include "web/browserenvironment.h"

#include <QString>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

namespace {

// Each variable the program set, with the value it had before, if any.
std::vector<std::pair<QString, std::optional<QString>>>& Originals() {
    static std::vector<std::pair<QString, std::optional<QString>>> originals;
    return originals;
}

}  // namespace

void SetEngineVariable(const char* name, const QByteArray& value) {
    const QString key = QString::fromLatin1(name);
    auto& originals = Originals();
    if (std::none_of(originals.begin(), originals.end(),
                     [&key](const auto& original) { return original.first == key; })) {
        originals.emplace_back(key, qEnvironmentVariableIsSet(name)
                                        ? std::optional<QString>(qEnvironmentVariable(name))
                                        : std::nullopt);
    }
    qputenv(name, value);
}

QProcessEnvironment BrowserEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : Originals()) {
        if (value.has_value()) {
            environment.insert(name, *value);
        } else {
            environment.remove(name);
        }
    }
    return environment;
}

}  // namespace velmora

// The application object: shows an exception that escapes an event handler
// in a message box and goes on, instead of letting it unwind through Qt.
#pragma once

#include <QApplication>

namespace vorek {

// The title of the application and of its message boxes.
inline constexpr const char* APPLICATION_TITLE = "Visual Vorek";

class VorekApplication final : public QApplication {
public:
    VorekApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The standard display of an exception: a message box with its text.
void showException(const std::exception& error);

}  // namespace vorek

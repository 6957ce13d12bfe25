#include "app/application.h"

#include <QMessageBox>
#include <exception>

namespace vorek {

VorekApplication::VorekApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationDisplayName(QLatin1String(APPLICATION_TITLE));
    setApplicationName(QStringLiteral("visual-vorek"));
    // The settings (the recent folders) live in ~/.config/visual-vorek/.
    setOrganizationName(QStringLiteral("visual-vorek"));
    setApplicationVersion(QStringLiteral(VOREK_VERSION));
}

bool VorekApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        showException(error);
        return false;
    }
}

void showException(const std::exception& error) {
    QMessageBox::critical(nullptr, QLatin1String(APPLICATION_TITLE),
                          QString::fromLocal8Bit(error.what()));
}

}  // namespace vorek

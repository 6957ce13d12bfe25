// The main function of a QtTest file whose window keeps settings: they go to
// a temporary folder of the test's own, never to the user's.
#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace vorek::testing {

template <typename Test>
int runWithScratchSettings(int argc, char** argv, const char* name) {
    QApplication application(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QCoreApplication::setOrganizationName(QStringLiteral("vorek-tests"));
    QCoreApplication::setApplicationName(QLatin1String(name));
    Test test;
    return QTest::qExec(&test, argc, argv);
}

}  // namespace vorek::testing

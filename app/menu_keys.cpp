#include "app/menu_keys.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>

namespace vorek {

namespace {

// The application's style, but for the bar's keyboard navigation by Alt
// alone, which some styles leave off.
class AltNavigationStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

void openMenusByKeyboard(QMenuBar& bar) {
    auto* style = new AltNavigationStyle;
    style->setParent(&bar);
    bar.setStyle(style);
    // The bar looks for Alt among the application's key events, as it does
    // where its first style allows Alt alone.
    qApp->installEventFilter(&bar);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar.window());
    QObject::connect(f10, &QShortcut::activated, &bar, [&bar] {
        const QList<QAction*> menus = bar.actions();
        if (!menus.isEmpty()) bar.setActiveAction(menus.front());
    });
}

}  // namespace vorek

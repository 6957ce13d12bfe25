// Shoots the main window for the documentation: opens it on the position in
// the working directory, grows the tree a little with the same keys a user
// presses, points at a square, and saves the window as it is on the screen.
//   vorek-window-screenshot OUT.png
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/board_image.h"
#include "app/form1.h"
#include "app/node_tree.h"

namespace {

void pressAndRelease(QWidget* target, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

void pointAt(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), target->mapToGlobal(QPointF(at)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

// Root, its first child, and that child's first child: three levels.
void growTree(vorek::TForm1& form) {
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right})
        pressAndRelease(form.Tree, key);
}

}  // namespace

int main(int argc, char** argv) {
    vorek::VorekApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorek-window-screenshot OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);

    vorek::TForm1 form;
    form.move(0, 0);
    form.show();
    growTree(form);
    pointAt(form.ImgBoard, QPoint(8 * 20 + 10, 10 * 20 + 10));

    int status = 1;
    // Give the window system time to map and paint the window first.
    QTimer::singleShot(1500, &form, [&] {
        const QPixmap shot = form.screen()->grabWindow(form.winId());
        status = shot.save(out, "PNG") ? 0 : 1;
        if (status != 0) std::fprintf(stderr, "cannot write %s\n", argv[1]);
        application.quit();
    });
    application.exec();
    return status;
}

// Visual Vorek: studies the position in the working directory's position
// files in one window. Takes no arguments.
#include <exception>

#include "app/application.h"
#include "app/form1.h"

int main(int argc, char** argv) {
    vorek::VorekApplication application(argc, argv);
    try {
        vorek::TForm1 form;
        form.show();
        return application.exec();
    } catch (const std::exception& error) {
        vorek::showException(error);
        return 1;
    }
}

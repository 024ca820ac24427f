#include "FuzzSupport.h"

#include <QGuiApplication>
#include <cstdlib>

namespace pelwick::fuzz {

void NeedGuiApplication() {
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "pelwick-fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

}  // namespace pelwick::fuzz

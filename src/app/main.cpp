#include "app/startup.h"

#include <QtGlobal>

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    return app::runGame(argc, argv);
}

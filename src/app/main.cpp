#include "app/startup.h"

#include <QtGlobal>

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    return runGame(argc, argv);
}

// logfatal_helper log|silent: installs the logging or the silent handler,
// writes one debug message and then a fatal one.
#include "app/messagehandler.h"

#include <QtGlobal>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    qInstallMessageHandler(std::strcmp(argv[1], "log") == 0 ? myMessageOutput : dummyMessageOutput);
    qDebug("before the end");
    qFatal("the end");
    return 0;
}

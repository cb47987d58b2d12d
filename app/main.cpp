#include "app/AppStart.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velnor::app::InitApplication(app);
    return 0;
}

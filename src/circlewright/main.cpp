#include "app/mainwindow/StartUp.h"

int main(int argc, char** argv)
{
    return RunCirclewright(argc, argv);
}

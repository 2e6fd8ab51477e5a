#include "mainwin/applicationclass.h"

// The one application object, made before the entry point runs.
static ApplicationClass application;

int main(int argc, char** argv) {
    return application.Run(argc, argv);
}

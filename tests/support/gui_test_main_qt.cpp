// Entry of the behaviour tests written against the class library's interface,
// on the Qt backend: they run inside the toolkit's application object.
#include <gtest/gtest.h>

#include <QApplication>

#include "resources/programresources.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    RegisterProgramResources();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// Entry of the behaviour tests written against the class library's interface,
// on the Qt backend: they run inside the toolkit's application object.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
